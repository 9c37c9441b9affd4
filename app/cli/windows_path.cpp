#include "app/cli/windows_path.h"

#include <algorithm>
#include <cstddef>

#include "engine/text.h"
#include "host/ascii_case.h"

namespace tav::cli {
namespace {

bool isSeparator(char16_t unit) {
    return unit == u'\\' || unit == u'/';
}

// The kinds of path Windows tells apart before making one absolute.
enum class PathKind {
    unc,              // \\server\share\x
    localDevice,      // \\.\x, or \\?\x written with a '/'
    rootLocalDevice,  // \\. or \\?
    driveAbsolute,    // C:\x
    driveRelative,    // C:x
    rootRelative,     // \x
    relative,         // x
};

PathKind kindOf(std::u16string_view path) {
    if (!path.empty() && isSeparator(path[0])) {
        if (path.size() < 2 || !isSeparator(path[1])) {
            return PathKind::rootRelative;
        }
        if (path.size() >= 3 && (path[2] == u'.' || path[2] == u'?')) {
            if (path.size() == 3) {
                return PathKind::rootLocalDevice;
            }
            if (isSeparator(path[3])) {
                return PathKind::localDevice;
            }
        }
        return PathKind::unc;
    }
    if (path.size() >= 2 && path[1] == u':') {
        return path.size() >= 3 && isSeparator(path[2]) ? PathKind::driveAbsolute
                                                        : PathKind::driveRelative;
    }
    return PathKind::relative;
}

// Length of "\\server\share\" at the start of a UNC path, with the
// separators that follow the share.
std::size_t uncRootLength(std::u16string_view path) {
    std::size_t i = 2;
    for (int part = 0; part < 2; ++part) {
        while (i < path.size() && !isSeparator(path[i])) {
            ++i;
        }
        while (i < path.size() && isSeparator(path[i])) {
            ++i;
        }
    }
    return i;
}

bool isDrivePath(std::u16string_view path) {
    return path.size() >= 2 && path[1] == u':';
}

// The working directory with one separator at its end, as Windows keeps it.
std::u16string directoryWithSeparator(std::u16string_view directory) {
    std::u16string text(directory);
    if (text.empty() || !isSeparator(text.back())) {
        text.push_back(u'\\');
    }
    return text;
}

// Length of the working directory's root ("C:\" or "\\server\share\").
std::size_t rootLengthOf(std::u16string_view directory) {
    if (isDrivePath(directory)) {
        return 3;
    }
    if (directory.size() >= 2 && isSeparator(directory[0]) && isSeparator(directory[1])) {
        return uncRootLength(directory);
    }
    return 0;
}

// A path with its root and the text after it, before normalisation.
struct JoinedPath {
    std::u16string text;
    std::size_t rootLength;
};

JoinedPath joinWithWorkingDirectory(std::u16string_view path, std::u16string_view directory) {
    const std::u16string base = directoryWithSeparator(directory);
    switch (kindOf(path)) {
        case PathKind::unc:
            return {std::u16string(path), uncRootLength(path)};
        case PathKind::localDevice:
            return {std::u16string(path), 4};
        case PathKind::rootLocalDevice:
            return {u"\\\\.\\", 4};
        case PathKind::driveAbsolute:
            return {std::u16string(path), 3};
        case PathKind::driveRelative: {
            const std::u16string_view rest = path.substr(2);
            if (isDrivePath(directory) &&
                host::asciiLower(directory[0]) == host::asciiLower(path[0])) {
                // "C:" alone is the working directory itself, without its separator.
                return {base + (rest.empty() ? std::u16string(u".") : std::u16string(rest)), 3};
            }
            return {std::u16string(path.substr(0, 2)) + u'\\' + std::u16string(rest), 3};
        }
        case PathKind::rootRelative: {
            const std::size_t rootLength = rootLengthOf(base);
            const std::size_t drive = isDrivePath(base) ? 2 : rootLength;
            return {base.substr(0, drive) + std::u16string(path), rootLength};
        }
        case PathKind::relative:
            break;
    }
    return {base + std::u16string(path), rootLengthOf(base)};
}

// Resolves "." and "..", collapses separators and removes the dots and
// spaces Windows drops, after the first `rootLength` units. Written after
// Windows' own pass over the path, including its quirks: an inner component
// loses one trailing dot only, so "a..\" becomes "a.\".
void normalise(std::u16string& path, std::size_t rootLength) {
    std::replace(path.begin(), path.end(), u'/', u'\\');

    std::size_t kept = std::max<std::size_t>(1, rootLength);
    for (std::size_t i = kept; i < path.size(); ++i) {
        if (path[i] != u'\\' || path[kept - 1] != u'\\') {
            path[kept++] = path[i];
        }
    }
    path.resize(std::min(kept, path.size()));

    // Where the component that `..` removes begins, before `end`.
    const auto previousComponent = [&](std::size_t end) {
        if (end > rootLength) {
            --end;
            while (end > rootLength && path[end - 1] != u'\\') {
                --end;
            }
        }
        return end;
    };

    std::size_t at = rootLength;
    while (at < path.size()) {
        if (path[at] == u'.') {
            const std::u16string_view rest = std::u16string_view(path).substr(at);
            if (rest == u"." || rest == u"..") {
                std::size_t end = rest == u"." ? at : previousComponent(at);
                if (end > rootLength) {
                    --end;  // the separator before the removed component
                }
                path.resize(end);
                at = end;
                continue;
            }
            if (rest.starts_with(u".\\")) {
                path.erase(at, 2);
                continue;
            }
            if (rest.starts_with(u"..\\")) {
                const std::size_t start = previousComponent(at);
                path.erase(start, at + 3 - start);
                at = start;
                continue;
            }
        }
        while (at < path.size() && path[at] != u'\\') {
            ++at;
        }
        if (at < path.size()) {
            if (at > rootLength && path[at - 1] == u'.') {
                path.erase(at - 1, 1);  // `at` now stands after the separator
            } else {
                ++at;
            }
        }
    }

    std::size_t end = path.size();
    while (end > rootLength && (path[end - 1] == u' ' || path[end - 1] == u'.')) {
        --end;
    }
    path.resize(end);
}

}  // namespace

std::u16string absoluteWindowsPath(std::u16string_view path, std::u16string_view workingDirectory) {
    if (path.starts_with(u"\\\\?\\")) {
        return std::u16string(path);
    }
    if (path.find_first_not_of(u' ') == std::u16string_view::npos) {
        return {};
    }
    JoinedPath joined = joinWithWorkingDirectory(path, workingDirectory);
    normalise(joined.text, joined.rootLength);
    return std::move(joined.text);
}

bool samePathIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && engine::lowerCase(a) == engine::lowerCase(b);
}

FolderAndName splitFolderAndName(std::u16string_view path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    std::size_t split = separator == std::u16string_view::npos ? 0 : separator + 1;
    if (split == 0 && isDrivePath(path)) {
        split = 2;
    }
    return {path.substr(0, split), path.substr(split)};
}

bool hasDraftExtension(std::u16string_view path) {
    const std::u16string_view name = splitFolderAndName(path).name;
    return name.size() >= 4 && host::equalsIgnoringAsciiCase(name.substr(name.size() - 4), u".dft");
}

bool hasWildcard(std::u16string_view name) {
    return name.find_first_of(u"*?") != std::u16string_view::npos;
}

std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\') {
        path += u'\\';
    }
    path += name;
    return path;
}

}  // namespace tav::cli

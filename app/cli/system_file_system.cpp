#include "app/cli/system_file_system.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/utf.h"

namespace tav::cli {
namespace fs = std::filesystem;
namespace {

std::u16string fileNameOf(const fs::path& path) {
#ifdef _WIN32
    return path.filename().u16string();
#else
    return platform::toUtf16(path.filename().string());
#endif
}

}  // namespace

std::optional<fs::path> systemPathOf(std::u16string_view windowsPath) {
#ifdef _WIN32
    return fs::path(std::u16string(windowsPath));
#else
    if (windowsPath.size() < 3 || (windowsPath[0] != u'Z' && windowsPath[0] != u'z') ||
        windowsPath[1] != u':' || windowsPath[2] != u'\\') {
        return std::nullopt;
    }
    std::u16string unixPath(windowsPath.substr(2));
    for (char16_t& c : unixPath) {
        if (c == u'\\') {
            c = u'/';
        }
    }
    return fs::path(platform::toUtf8(unixPath));
#endif
}

std::u16string windowsPathOf(const fs::path& systemPath) {
#ifdef _WIN32
    return systemPath.u16string();
#else
    std::u16string windowsPath = u"Z:" + platform::toUtf16(systemPath.string());
    for (char16_t& c : windowsPath) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    return windowsPath;
#endif
}

std::optional<std::string> SystemFileSystem::readWhole(std::u16string_view path) {
    const std::optional<fs::path> systemPath = systemPathOf(path);
    if (!systemPath) {
        return std::nullopt;
    }
    std::ifstream in(*systemPath, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

void SystemFileSystem::writeWhole(std::u16string_view path, std::string_view bytes) {
    const std::optional<fs::path> systemPath = systemPathOf(path);
    const std::string shown = platform::toUtf8(path);
    if (!systemPath) {
        throw FileError(shown + ": no such folder");
    }
    // Written beside the target and renamed over it: a reader never sees
    // half a file, and a failed write leaves the old one (or none).
    fs::path temporary = *systemPath;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw FileError(shown + " cannot be written");
        }
    }
    std::error_code error;
    fs::rename(temporary, *systemPath, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw FileError(shown + " cannot be written: " + error.message());
    }
}

void SystemFileSystem::removeIfPresent(std::u16string_view path) {
    const std::optional<fs::path> systemPath = systemPathOf(path);
    if (!systemPath) {
        return;
    }
    std::error_code error;
    fs::remove(*systemPath, error);
    if (error && fs::exists(*systemPath)) {
        throw FileError(platform::toUtf8(path) + " cannot be removed: " + error.message());
    }
}

bool SystemFileSystem::isFolder(std::u16string_view path) {
    const std::optional<fs::path> systemPath = systemPathOf(path);
    std::error_code error;
    return systemPath && fs::is_directory(*systemPath, error);
}

std::optional<std::vector<std::u16string>> SystemFileSystem::fileNamesIn(
    std::u16string_view folder) {
    const std::optional<fs::path> systemPath = systemPathOf(folder);
    if (!systemPath) {
        return std::nullopt;
    }
    std::error_code error;
    fs::directory_iterator entries(*systemPath, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<std::u16string> names;
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        if (!entry.is_directory(ignored)) {
            names.push_back(fileNameOf(entry.path()));
        }
    }
    return names;
}

}  // namespace tav::cli

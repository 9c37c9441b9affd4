#include "app/cli/document_list.h"

#include <algorithm>
#include <unordered_set>

#include "app/cli/list_file.h"
#include "app/cli/windows_path.h"
#include "engine/text.h"
#include "platform/utf.h"

namespace tav::cli {
namespace {

// Names in the order Explorer lists them closest: letter case ignored, then
// exactly, so that the order does not depend on the file system's.
void sortByName(std::vector<std::u16string>& names) {
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        const std::u16string lowerA = engine::lowerCase(a);
        const std::u16string lowerB = engine::lowerCase(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
}

class DocumentListBuilder {
  public:
    explicit DocumentListBuilder(CliEnvironment& environment) : environment_(environment) {}

    void add(std::u16string_view given) {
        const std::u16string path = absoluteWindowsPath(given, environment_.workingFolder());
        const FolderAndName parts = splitFolderAndName(path);
        if (hasWildcard(parts.name)) {
            addMatches(path, parts);
        } else if (environment_.files().isFolder(path)) {
            addDraftsIn(path);
        } else {
            addPath(path, std::nullopt);
        }
    }

    std::vector<DocumentEntry> take() { return std::move(entries_); }

  private:
    void addMatches(const std::u16string& pattern, const FolderAndName& parts) {
        std::vector<std::u16string> names = namesIn(parts.folder);
        std::erase_if(
            names, [&](const std::u16string& name) { return !matchesWildcard(name, parts.name); });
        if (names.empty()) {
            addPath(pattern, u"no file matches");
            return;
        }
        sortByName(names);
        for (const std::u16string& name : names) {
            addPath(pathInFolder(parts.folder, name), std::nullopt);
        }
    }

    void addDraftsIn(const std::u16string& folder) {
        std::vector<std::u16string> names = namesIn(folder);
        std::erase_if(names, [](const std::u16string& name) { return !hasDraftExtension(name); });
        if (names.empty()) {
            addPath(folder, u"the folder holds no .dft file");
            return;
        }
        sortByName(names);
        for (const std::u16string& name : names) {
            addPath(pathInFolder(folder, name), std::nullopt);
        }
    }

    std::vector<std::u16string> namesIn(std::u16string_view folder) {
        std::optional<std::vector<std::u16string>> names = environment_.files().fileNamesIn(folder);
        return names ? std::move(*names) : std::vector<std::u16string>{};
    }

    void addPath(const std::u16string& path, std::optional<std::u16string> refusal) {
        if (seen_.insert(engine::lowerCase(path)).second) {
            entries_.push_back({path, std::move(refusal)});
        }
    }

    CliEnvironment& environment_;
    std::vector<DocumentEntry> entries_;
    // The paths taken so far, lower-cased: Windows compares names so.
    std::unordered_set<std::u16string> seen_;
};

}  // namespace

std::vector<DocumentEntry> documentsToProcess(const CliOptions& options,
                                              CliEnvironment& environment) {
    DocumentListBuilder builder(environment);
    for (const std::u16string& file : options.files) {
        builder.add(file);
    }
    if (options.list) {
        const std::u16string listPath =
            absoluteWindowsPath(*options.list, environment.workingFolder());
        const std::optional<std::string> bytes = environment.files().readWhole(listPath);
        if (!bytes) {
            throw UsageError("the list file " + platform::toUtf8(listPath) + " cannot be read");
        }
        std::vector<std::u16string> lines;
        try {
            lines = decodeListFile(*bytes);
        } catch (const TextFileError& error) {
            throw UsageError("the list file " + platform::toUtf8(listPath) + ": " + error.what());
        }
        for (const std::u16string& line : lines) {
            builder.add(line);
        }
    }
    return builder.take();
}

}  // namespace tav::cli

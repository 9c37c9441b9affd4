#include "app/cli/cli_program.h"

#include "app/about_box.h"
#include "app/cli/batch_run.h"
#include "app/cli/cli_options.h"
#include "app/cli/csv.h"
#include "app/cli/document_list.h"
#include "app/cli/settings_file.h"
#include "app/cli/windows_path.h"
#include "engine/text.h"
#include "platform/utf.h"

namespace tav::cli {
namespace {

std::u16string utf16(std::string_view text) {
    return platform::toUtf16(text);
}

class ErrorMessages {
  public:
    explicit ErrorMessages(CliEnvironment& environment)
        : environment_(environment),
          path_(pathInFolder(environment.programFolder(), errorMessagesFileName)) {}

    // A stale file of an earlier run must not be taken for this run's.
    void removeStale() {
        try {
            environment_.files().removeIfPresent(path_);
        } catch (const FileError& error) {
            environment_.printError(u"tavrelmondix-cli: " + utf16(error.what()));
        }
    }

    void add(std::u16string line) { lines_.push_back(std::move(line)); }

    // Whole or not at all, UTF-8, one line each. A folder where it cannot be
    // written is said on standard error and changes no exit status.
    void write() {
        std::string text;
        for (const std::u16string& line : lines_) {
            text += platform::toUtf8(line);
            text += "\r\n";
        }
        try {
            environment_.files().writeWhole(path_, text);
        } catch (const FileError& error) {
            environment_.printError(u"tavrelmondix-cli: " + utf16(error.what()));
        }
    }

  private:
    CliEnvironment& environment_;
    std::u16string path_;
    std::vector<std::u16string> lines_;
};

CliOptions optionsOf(CliEnvironment& environment, const std::vector<std::u16string>& arguments) {
    CliOptions options;
    const std::u16string settingsPath = pathInFolder(environment.programFolder(), settingsFileName);
    if (const std::optional<std::string> bytes = environment.files().readWhole(settingsPath)) {
        std::vector<SettingsEntry> entries;
        try {
            entries = decodeSettingsFile(*bytes);
        } catch (const TextFileError& error) {
            throw UsageError(platform::toUtf8(settingsPath) + ": " + error.what());
        }
        for (const SettingsEntry& entry : entries) {
            try {
                applySetting(options, entry.key, entry.value, environment.programFolder());
            } catch (const UsageError& error) {
                throw UsageError(platform::toUtf8(settingsPath) + ", line " +
                                 std::to_string(entry.line) + ": " + error.what());
            }
        }
    }
    applyArguments(options, arguments);
    return options;
}

// The report's folder must exist before anything is done.
void checkReportFolder(CliEnvironment& environment, const CliOptions& options) {
    if (!options.report) {
        return;
    }
    const std::u16string path = absoluteWindowsPath(*options.report, environment.workingFolder());
    const std::u16string folder(splitFolderAndName(path).folder);
    if (!environment.files().isFolder(folder)) {
        throw UsageError("the report's folder " + platform::toUtf8(folder) + " does not exist");
    }
}

std::u16string summaryLine(const BatchEnd& end) {
    std::int32_t processed = 0;
    std::int32_t stylesCreated = 0;
    for (const DocumentOutcome& outcome : end.documents) {
        processed += outcome.processed ? 1 : 0;
        stylesCreated += outcome.stylesCreated;
    }
    const auto total = static_cast<std::int32_t>(end.documents.size());
    return engine::decimalText(total) + (total == 1 ? u" document: " : u" documents: ") +
           engine::decimalText(processed) + u" processed, " +
           engine::decimalText(total - processed) + u" not processed, " +
           engine::decimalText(stylesCreated) + u" styles created";
}

}  // namespace

CliRunOutput runCommandLine(CliEnvironment& environment, host::HostConnector& connector,
                            InterruptGate& gate, const std::vector<std::u16string>& arguments) {
    ErrorMessages errorMessages(environment);
    errorMessages.removeStale();
    CliRunOutput output;

    CliOptions options;
    std::vector<DocumentEntry> documents;
    try {
        options = optionsOf(environment, arguments);
        if (options.help) {
            for (const std::u16string& line : usageLines()) {
                environment.printLine(line);
            }
            return output;
        }
        if (options.version) {
            environment.printLine(u"tavrelmondix-cli " + app::versionText());
            return output;
        }
        checkReportFolder(environment, options);
        documents = documentsToProcess(options, environment);
    } catch (const UsageError& error) {
        const std::u16string line = u"tavrelmondix-cli: " + utf16(error.what());
        environment.printError(line);
        environment.printError(u"Try tavrelmondix-cli --help");
        errorMessages.add(line);
        errorMessages.write();
        output.exitCode = exitUsage;
        return output;
    }

    const bool activeDocumentOnly = options.files.empty() && !options.list;
    BatchEnd end = runBatch(environment, connector, gate, options, documents, activeDocumentOnly);
    environment.printLine(summaryLine(end));
    bool succeeded = end.succeeded;

    if (options.report) {
        const std::u16string path =
            absoluteWindowsPath(*options.report, environment.workingFolder());
        try {
            environment.files().writeWhole(path, csvFileText(end.reportRows));
            output.reportPath = path;
        } catch (const FileError& error) {
            const std::u16string line = u"the report cannot be written: " + utf16(error.what());
            environment.printLine(line);
            end.messages.push_back(line);
            succeeded = false;
        }
    }

    output.exitCode = succeeded ? exitProcessed : exitNotProcessed;
    if (output.exitCode != exitProcessed) {
        for (const DocumentOutcome& outcome : end.documents) {
            if (!outcome.processed) {
                errorMessages.add(errorMessageLine(outcome));
            }
        }
        for (std::u16string& message : end.messages) {
            errorMessages.add(std::move(message));
        }
        errorMessages.write();
    }
    return output;
}

}  // namespace tav::cli

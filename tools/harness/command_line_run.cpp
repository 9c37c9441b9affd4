#include "tools/harness/command_line_run.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>

#include "host/utf.h"
#include "result/atomic_file.h"
#include "result/result_writer.h"
#include "session/cli_session.h"
#include "session/terminal_text.h"

#ifdef _WIN32
#include "tools/harness/com_session.h"
#endif

namespace tav::harness {
namespace {

namespace fs = std::filesystem;

constexpr int usageError = 2;
constexpr int internalError = 1;

void printError(const std::string& line) {
    std::cerr << session::printable(line) << '\n';
}

// A folder of the harness's own for one run, removed when the run ends.
class FreshFolder {
  public:
    FreshFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate =
                fs::temp_directory_path() / ("tavrelmondix-cli-" + std::to_string(random()));
            if (fs::create_directory(candidate)) {
                path_ = std::move(candidate);
                return;
            }
        }
        throw std::runtime_error("no fresh folder could be made in the temporary folder");
    }
    ~FreshFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    FreshFolder(const FreshFolder&) = delete;
    FreshFolder& operator=(const FreshFolder&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// The tool's part, and the host's when the server finished (its names
// resolved with it); else only the tool's part is known.
struct ServedRun {
    result::Outcome outcome;
    std::optional<std::int64_t> nameLookups;
};

ServedRun runOverCom(const sim::Scene& scene, const session::CliSessionOptions& options,
                     const CommandLineRun& run, result::EventLog& events) {
#ifdef _WIN32
    ComSessionOptions comOptions;
    comOptions.busy.bound = std::chrono::milliseconds(run.busyBoundMs);
    comOptions.roundTrips = run.roundTrips;
    comOptions.typeLibraryReport = run.typeLibraryReport;
    ComCliOutcome served = runComCliSession(run.scenePath, scene, options, comOptions, events);
    return {std::move(served.outcome), served.nameLookups};
#else
    static_cast<void>(scene);
    static_cast<void>(options);
    static_cast<void>(run);
    static_cast<void>(events);
    throw std::runtime_error("--com is for the Windows build");
#endif
}

}  // namespace

int runCommandLineTool(sim::Scene scene, const CommandLineRun& run) {
    std::optional<FreshFolder> freshFolder;
    session::CliSessionOptions options;
    try {
        if (run.programDir.empty()) {
            freshFolder.emplace();
            options.programFolder = freshFolder->path();
        } else {
            options.programFolder = fs::absolute(fs::u8path(run.programDir));
        }
    } catch (const std::exception& error) {
        printError(std::string("tavrelmondix-sim: ") + error.what());
        return internalError;
    }
    for (const std::string& argument : run.arguments) {
        options.arguments.push_back(host::toUtf16(argument));
    }
    if (run.interruptAtCall > 0) {
        options.interruptAtCall = run.interruptAtCall;
    }

    result::EventLog events;
    auto live = [&](const result::Event& event) {
        if (!run.resultPath.empty()) {
            events.add(event);
        }
    };
    result::Outcome outcome;
    std::optional<std::int64_t> nameLookups;
    try {
        if (run.overCom) {
            ServedRun served = runOverCom(scene, options, run, events);
            outcome = std::move(served.outcome);
            nameLookups = served.nameLookups;
        } else {
            outcome = session::runCliSession(std::move(scene), options, live,
                                             session::EventRetention::streamOnly);
        }
    } catch (const std::exception& error) {
        printError(std::string("tavrelmondix-sim: internal error: ") + error.what());
        return internalError;
    }
    if (!run.quiet && outcome.cli) {
        for (const std::string& line : outcome.cli->stdoutLines) {
            std::cout << session::printable(line) << '\n';
        }
        std::cout << "exit status " << outcome.cli->exitCode << '\n';
    }
    if (!run.resultPath.empty()) {
        try {
            result::writeAtomically(run.resultPath, [&](std::ostream& out) {
                if (run.overCom) {
                    // Without the server's part when it ended without finishing.
                    result::writeResultFile(out, outcome, nameLookups ? &outcome : nullptr,
                                            nameLookups, events);
                } else {
                    result::writeResultFile(out, outcome, events);
                }
            });
        } catch (const result::FileWriteError& error) {
            printError(std::string("tavrelmondix-sim: ") + error.what());
            return usageError;
        } catch (const std::exception& error) {
            printError(std::string("tavrelmondix-sim: internal error: ") + error.what());
            return internalError;
        }
    }
    return 0;
}

}  // namespace tav::harness

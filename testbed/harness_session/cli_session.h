// One run of the command-line tool against the simulated host, as the
// harness's --cli runs it: the tool's own code with its arguments, a
// program folder of the caller's choosing, output captured and a clock that
// stands still, so that results compare.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_environment.h"
#include "app/cli/system_file_system.h"
#include "host/sim/scene.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/outcome.h"

namespace tav::session {

struct CliSessionOptions {
    std::vector<std::u16string> arguments;
    // The folder the tool takes as its own.
    std::filesystem::path programFolder;
    // Tell the tool of an interrupt just before this host call (1-based).
    std::optional<std::int32_t> interruptAtCall;
};

// The console of a run under test: standard output kept line by line,
// standard error passed on, no progress, a clock that stands still.
class CapturedConsole final : public cli::CliEnvironment {
  public:
    explicit CapturedConsole(std::filesystem::path programFolder);

    std::u16string programFolder() override;
    std::u16string workingFolder() override;
    cli::FileSystem& files() override { return files_; }
    void printLine(std::u16string_view line) override;
    void printError(std::u16string_view line) override;
    bool showsProgress() override { return false; }
    void showProgress(std::u16string_view) override {}
    double clockSeconds() override { return 0.0; }

    std::vector<std::string>& lines() { return lines_; }

  private:
    std::filesystem::path programFolder_;
    cli::SystemFileSystem files_;
    std::vector<std::string> lines_;
};

// What the tool left for the result's "cli" part: its printed lines, the
// error_messages.txt it wrote and its report, read back from its files.
result::CliOutcome cliOutcomeOf(CapturedConsole& console, int exitCode,
                                const std::optional<std::u16string>& reportPath);

// Runs the tool on `scene`; `live` sees every host event as it happens.
result::Outcome runCliSession(sim::Scene scene, const CliSessionOptions& options,
                              const EventSink& live = {},
                              EventRetention events = EventRetention::keep);

}  // namespace tav::session

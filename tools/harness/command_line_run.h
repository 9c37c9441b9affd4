// The harness's --cli: how the command-line tool is started (its arguments,
// the folder it takes as its own, an interrupt) and how its run is shown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "testbed/harness_session/cli_session.h"
#include "testbed/result_file/outcome.h"

namespace tav::harness {

struct CommandLineStart {
    std::string programDir;            // empty: a fresh empty folder, removed afterwards
    std::int32_t interruptAtCall = 0;  // 0: none
    std::vector<std::string> arguments;
};

// The folder the tool takes as its own for one run: the one asked for, or a
// fresh empty one of the harness's, removed when this goes.
class ToolFolder {
  public:
    // Raises std::runtime_error when no fresh folder can be made.
    explicit ToolFolder(const std::string& asked);
    ~ToolFolder();
    ToolFolder(const ToolFolder&) = delete;
    ToolFolder& operator=(const ToolFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool fresh_ = false;
};

// The tool's start as the session runs it.
session::CliSessionOptions cliSessionOptions(const CommandLineStart& start,
                                             const ToolFolder& folder);

// The tool's lines on standard output, then its exit status.
void printCommandLineRun(const result::Outcome& outcome);

}  // namespace tav::harness

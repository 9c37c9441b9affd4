#include "tools/harness/command_line_run.h"

#include <iostream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "platform/utf.h"
#include "testbed/harness_session/terminal_text.h"

namespace tav::harness {

namespace fs = std::filesystem;

ToolFolder::ToolFolder(const std::string& asked) {
    if (!asked.empty()) {
        path_ = fs::absolute(fs::u8path(asked));
        return;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            fs::temp_directory_path() / ("tavrelmondix-cli-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = std::move(candidate);
            fresh_ = true;
            return;
        }
    }
    throw std::runtime_error("no fresh folder could be made in the temporary folder");
}

ToolFolder::~ToolFolder() {
    if (fresh_) {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
}

session::CliSessionOptions cliSessionOptions(const CommandLineStart& start,
                                             const ToolFolder& folder) {
    session::CliSessionOptions options;
    options.programFolder = folder.path();
    for (const std::string& argument : start.arguments) {
        options.arguments.push_back(platform::toUtf16(argument));
    }
    if (start.interruptAtCall > 0) {
        options.interruptAtCall = start.interruptAtCall;
    }
    return options;
}

void printCommandLineRun(const result::Outcome& outcome) {
    if (!outcome.cli) {
        return;
    }
    for (const std::string& line : outcome.cli->stdoutLines) {
        std::cout << session::printable(line) << '\n';
    }
    std::cout << "exit status " << outcome.cli->exitCode << '\n';
}

}  // namespace tav::harness

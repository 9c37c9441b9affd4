// The command-line tool's environment on Windows: its own folder (where
// error_messages.txt and program_settings.txt are, whatever the working
// folder), the console, and a steady clock. Lines go to a console as
// UTF-16 (WriteConsoleW), and as UTF-8 when the output is redirected.
#pragma once

#include <windows.h>

#include "app/cli/cli_environment.h"
#include "app/cli/system_file_system.h"

namespace tav::app::win {

class ConsoleEnvironment final : public cli::CliEnvironment {
  public:
    ConsoleEnvironment();

    std::u16string programFolder() override;
    std::u16string workingFolder() override;
    cli::FileSystem& files() override { return files_; }
    void printLine(std::u16string_view line) override;
    void printError(std::u16string_view line) override;
    bool showsProgress() override { return errorIsConsole_; }
    void showProgress(std::u16string_view line) override;
    double clockSeconds() override;

  private:
    void write(HANDLE output, bool isConsole, std::u16string_view text);
    // A progress line stays until the next line replaces it.
    void clearProgress();

    cli::SystemFileSystem files_;
    HANDLE output_;
    HANDLE error_;
    bool outputIsConsole_;
    bool errorIsConsole_;
    std::size_t progressShown_ = 0;  // units of the progress line on the console
};

}  // namespace tav::app::win

#include "app/win/cli/console_environment.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/utf.h"
#include "platform/win/program_folder.h"
#include "platform/win/wide_text.h"

namespace tav::app::win {
namespace {

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

ConsoleEnvironment::ConsoleEnvironment()
    : output_(GetStdHandle(STD_OUTPUT_HANDLE)),
      error_(GetStdHandle(STD_ERROR_HANDLE)),
      outputIsConsole_(isConsole(output_)),
      errorIsConsole_(isConsole(error_)) {}

std::u16string ConsoleEnvironment::programFolder() {
    return platform::utf16Text(platform::programFolder().wstring());
}

std::u16string ConsoleEnvironment::workingFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD written = GetCurrentDirectoryW(size, folder.data());
    folder.resize(written < size ? written : 0);
    return platform::utf16Text(folder);
}

void ConsoleEnvironment::write(HANDLE output, bool isConsole, std::u16string_view text) {
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return;
    }
    if (isConsole) {
        const std::wstring wide = platform::wideText(text);
        DWORD written = 0;
        WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = platform::toUtf8(text);
    DWORD written = 0;
    WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void ConsoleEnvironment::clearProgress() {
    if (progressShown_ > 0) {
        std::u16string blank(1, u'\r');
        blank.append(progressShown_, u' ');
        blank += u'\r';
        write(error_, true, blank);
        progressShown_ = 0;
    }
}

void ConsoleEnvironment::printLine(std::u16string_view line) {
    clearProgress();
    std::u16string text(line);
    text += u"\r\n";
    write(output_, outputIsConsole_, text);
}

void ConsoleEnvironment::printError(std::u16string_view line) {
    clearProgress();
    std::u16string text(line);
    text += u"\r\n";
    write(error_, errorIsConsole_, text);
}

void ConsoleEnvironment::showProgress(std::u16string_view line) {
    if (!errorIsConsole_) {
        return;
    }
    // Kept to one console line, so that the next one overwrites it.
    CONSOLE_SCREEN_BUFFER_INFO info{};
    std::size_t width = 80;
    if (GetConsoleScreenBufferInfo(error_, &info) && info.dwSize.X > 1) {
        width = static_cast<std::size_t>(info.dwSize.X);
    }
    std::u16string shown(1, u'\r');
    shown += line.substr(0, width - 1);
    const std::size_t length = shown.size() - 1;
    if (length < progressShown_) {
        shown.append(progressShown_ - length, u' ');
    }
    write(error_, true, shown);
    progressShown_ = std::max(length, progressShown_);
}

double ConsoleEnvironment::clockSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tav::app::win

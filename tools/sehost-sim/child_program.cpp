#include "tools/sehost-sim/child_program.h"

#include <stdexcept>

#include "tools/sehost-sim/wide_text.h"

namespace tav::sehost {
namespace {

// Quotes one argument: backslashes are literal except before a quote, where
// each must be doubled.
std::wstring quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

}  // namespace

std::wstring joinCommandLine(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty()) {
            line += L' ';
        }
        line += quoted(argument);
    }
    return line;
}

ChildProgram::ChildProgram(const std::vector<std::wstring>& commandLine) {
    std::wstring line = joinCommandLine(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &started)) {
        throw std::runtime_error("cannot start " + toUtf8(commandLine.front()) + " (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
}

ChildProgram::~ChildProgram() {
    CloseHandle(process_);
}

void ChildProgram::end(UINT status) {
    TerminateProcess(process_, status);
    WaitForSingleObject(process_, 10000);
}

DWORD ChildProgram::exitStatus() const {
    DWORD status = 0;
    GetExitCodeProcess(process_, &status);
    return status;
}

}  // namespace tav::sehost

#include "tools/sehost-sim/child_program.h"

#include <stdexcept>

#include "tools/sehost-sim/wide_text.h"

namespace tav::sehost {
ChildProgram::ChildProgram(const std::vector<std::wstring>& commandLine) {
    std::wstring line = hostprocess::joinCommandLine(commandLine);
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

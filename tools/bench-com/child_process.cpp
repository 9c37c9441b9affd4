#include "tools/bench-com/child_process.h"

#include <stdexcept>

#include "hostprocess/command_line.h"
#include "hostprocess/server_process.h"

namespace tav::benchcom {

DWORD runToEnd(const std::wstring& program, const std::vector<std::wstring>& args, DWORD limitMs) {
    std::vector<std::wstring> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::wstring commandLine = hostprocess::joinCommandLine(words);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &started)) {
        throw std::runtime_error("cannot start the program (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    const hostprocess::Handle process(started.hProcess);
    const hostprocess::Handle thread(started.hThread);

    if (WaitForSingleObject(process.get(), limitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
        throw std::runtime_error("the program ran past " + std::to_string(limitMs / 1000) +
                                 " s and was ended");
    }
    DWORD status = 0;
    GetExitCodeProcess(process.get(), &status);
    return status;
}

}  // namespace tav::benchcom

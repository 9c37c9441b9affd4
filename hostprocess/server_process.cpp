#include "hostprocess/server_process.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "hostprocess/command_line.h"

namespace tav::hostprocess {

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.release();
    }
    return *this;
}

HANDLE Handle::release() {
    return std::exchange(handle_, nullptr);
}

void Handle::close() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
    }
    handle_ = nullptr;
}

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

ServerProcess::ServerProcess(const std::wstring& program, const std::vector<std::wstring>& args) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inherit, 0)) {
        throw std::runtime_error("cannot make a pipe for sehost-sim's input");
    }
    Handle childInput(inputRead);
    input_ = Handle(inputWrite);
    if (!CreatePipe(&outputRead, &outputWrite, &inherit, 0)) {
        throw std::runtime_error("cannot make a pipe for sehost-sim's output");
    }
    output_ = Handle(outputRead);
    Handle childOutput(outputWrite);
    // Only the server's ends are inherited.
    SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);

    std::vector<std::wstring> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::wstring commandLine = joinCommandLine(words);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.get();
    startup.hStdOutput = childOutput.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &started)) {
        throw std::runtime_error("cannot start sehost-sim.exe (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    process_ = Handle(started.hProcess);
    CloseHandle(started.hThread);
}

ServerProcess::~ServerProcess() {
    if (!finished_) {
        finish(10000);
    }
}

bool ServerProcess::waitReady() {
    std::string line;
    char ch = 0;
    DWORD read = 0;
    while (ReadFile(output_.get(), &ch, 1, &read, nullptr) && read == 1) {
        if (ch == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line == "ready") {
                return true;  // its few later lines stay in the pipe unread
            }
            line.clear();
        } else {
            line.push_back(ch);
        }
    }
    return false;  // it ended without saying ready
}

DWORD ServerProcess::finish(DWORD patienceMs) {
    if (finished_) {
        return status_;
    }
    finished_ = true;
    input_.close();
    if (WaitForSingleObject(process_.get(), patienceMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), INFINITE);
    }
    GetExitCodeProcess(process_.get(), &status_);
    output_.close();
    return status_;
}

}  // namespace tav::hostprocess

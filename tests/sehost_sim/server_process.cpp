#include "server_process.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace tav::sehost::test {
namespace {

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring quoted(const std::wstring& argument) {
    return L"\"" + argument + L"\"";
}

void pipe(HANDLE& ours, HANDLE& theirs, bool theyRead) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    ours = theyRead ? write : read;
    theirs = theyRead ? read : write;
    SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

ServerProcess::ServerProcess(const std::vector<std::wstring>& arguments) {
    std::wstring line = quoted(widen(TAV_SEHOST_SIM));
    for (const std::wstring& argument : arguments) {
        line += L" " + quoted(argument);
    }
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    HANDLE childError = nullptr;
    pipe(input_, childInput, true);
    pipe(output_, childOutput, false);
    pipe(error_, childError, false);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childError;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &started)) {
        CloseHandle(started.hThread);
        process_ = started.hProcess;
    }
    CloseHandle(childInput);
    CloseHandle(childOutput);
    CloseHandle(childError);
}

ServerProcess::~ServerProcess() {
    closeInput();
    if (process_ != nullptr && waitExit(10000) == -1) {
        TerminateProcess(process_, 1);
    }
    CloseHandle(process_);
    CloseHandle(output_);
    CloseHandle(error_);
}

bool ServerProcess::waitReady() {
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        DWORD available = 0;
        if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) {
            return false;
        }
        if (available == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        char c = 0;
        DWORD read = 0;
        if (!ReadFile(output_, &c, 1, &read, nullptr) || read == 0) {
            return false;
        }
        seen += c;
        if (seen.ends_with("ready\n") || seen.ends_with("ready\r\n")) {
            return true;
        }
    }
    return false;
}

void ServerProcess::closeInput() {
    if (input_ != nullptr) {
        CloseHandle(input_);
        input_ = nullptr;
    }
}

int ServerProcess::waitExit(DWORD ms) {
    if (process_ == nullptr || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD status = 0;
    GetExitCodeProcess(process_, &status);
    return static_cast<int>(status);
}

std::string ServerProcess::errorText() {
    std::string text;
    char buffer[512];
    DWORD read = 0;
    DWORD available = 0;
    while (PeekNamedPipe(error_, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(error_, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

std::wstring sceneFile(const std::string& name) {
    return widen(std::string(TAV_SEHOST_SCENES) + "/" + name);
}

std::wstring resultFile(const std::string& name) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / (name + ".result.json");
    std::filesystem::remove(path);
    return path.wstring();
}

}  // namespace tav::sehost::test

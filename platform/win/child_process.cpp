#include "platform/win/child_process.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/command_line.h"
#include "platform/win/inherited_handles.h"
#include "platform/win/wide_text.h"

namespace tav::platform {
namespace {

using Clock = std::chrono::steady_clock;

const DWORD standardHandleOf[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
const char* const streamName[3] = {"input", "output", "error output"};

// A pipe for one of the child's streams: the child's end inheritable, ours
// not. The child reads its input and writes the others.
void makePipe(bool childReads, UniqueHandle& childEnd, UniqueHandle& ourEnd) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0) == FALSE) {
        throw std::runtime_error("cannot make a pipe (error " + std::to_string(GetLastError()) +
                                 ")");
    }
    childEnd = std::move(childReads ? readEnd : writeEnd);
    ourEnd = std::move(childReads ? writeEnd : readEnd);
    SetHandleInformation(ourEnd.get(), HANDLE_FLAG_INHERIT, 0);
}

DWORD millisecondsFor(std::chrono::milliseconds patience) {
    if (patience == ChildProcess::unbounded) {
        return INFINITE;
    }
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(
        0, std::min<std::chrono::milliseconds::rep>(patience.count(), INFINITE - 1)));
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::wstring>& commandLine,
                           const LaunchOptions& options)
    : options_(options) {
    if (commandLine.empty()) {
        throw std::invalid_argument("no program to start");
    }
    const std::string cannotStart = "cannot start " + utf8Text(commandLine.front());
    const ChildStream streams[3] = {options.input, options.output, options.error};
    // The child's ends of its pipes, open here until it has its own.
    std::array<UniqueHandle, 3> childEnds;
    // What the child inherits: exactly the handles of its streams.
    InheritedHandles inherited;
    HANDLE given[3] = {};
    bool anyGiven = false;
    for (std::size_t stream = input; stream <= error; ++stream) {
        try {
            switch (streams[stream]) {
                case ChildStream::none:
                    continue;
                case ChildStream::inherited:
                    given[stream] = inherited.give(GetStdHandle(standardHandleOf[stream]));
                    break;
                case ChildStream::parentError:
                    given[stream] = inherited.give(GetStdHandle(STD_ERROR_HANDLE));
                    break;
                case ChildStream::pipe:
                    makePipe(stream == input, childEnds[stream], pipes_[stream]);
                    given[stream] = inherited.give(childEnds[stream].get());
                    break;
            }
        } catch (const std::runtime_error& failure) {
            throw std::runtime_error(cannotStart + ": its standard " + streamName[stream] + ": " +
                                     failure.what());
        }
        anyGiven = true;
    }

    std::wstring line = joinCommandLine(commandLine);
    STARTUPINFOEXW startup{};
    if (anyGiven) {
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = given[input];
        startup.StartupInfo.hStdOutput = given[output];
        startup.StartupInfo.hStdError = given[error];
    }
    DWORD creationFlags = 0;
    BOOL inherits = FALSE;
    try {
        inherits = inherited.prepare(startup, creationFlags) ? TRUE : FALSE;
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(cannotStart + ": " + failure.what());
    }
    PROCESS_INFORMATION started{};
    const auto create = [&] {
        return CreateProcessW(nullptr, line.data(), nullptr, nullptr, inherits, creationFlags,
                              nullptr, nullptr, &startup.StartupInfo, &started) != FALSE;
    };
    bool created = create();
    // ERROR_INTERNAL_ERROR: the new process was made but ended before it
    // had finished loading, so none of the program's own code ran. Wine does
    // this now and then under load; a second start is then safe, and it is
    // the only failure tried twice.
    if (!created && GetLastError() == ERROR_INTERNAL_ERROR) {
        created = create();
    }
    if (!created) {
        const DWORD failure = GetLastError();
        throw std::runtime_error(cannotStart + " (error " + std::to_string(failure) + ")");
    }
    process_.reset(started.hProcess);
    const UniqueHandle thread(started.hThread);
    id_ = started.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (options_.patienceWhenOwnerGoes && !hasEnded()) {
        finish(*options_.patienceWhenOwnerGoes);
    }
}

bool ChildProcess::hasEnded() const {
    return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::waitForExit(std::chrono::milliseconds patience) {
    if (WaitForSingleObject(process_.get(), millisecondsFor(patience)) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    return exitStatus();
}

DWORD ChildProcess::exitStatus() const {
    DWORD status = 0;
    GetExitCodeProcess(process_.get(), &status);
    return status;
}

void ChildProcess::terminate(UINT status) {
    TerminateProcess(process_.get(), status);
    WaitForSingleObject(process_.get(), INFINITE);
}

void ChildProcess::closeInput() {
    pipes_[input].reset();
}

DWORD ChildProcess::finish(std::chrono::milliseconds patience) {
    closeInput();
    if (!waitForExit(patience)) {
        terminate(options_.forcedExitStatus);
    }
    return exitStatus();
}

bool ChildProcess::waitForLine(std::string_view wanted, std::chrono::milliseconds patience) {
    const HANDLE pipe = pipes_[output].get();
    const bool bounded = patience != unbounded;
    const Clock::time_point deadline = bounded ? Clock::now() + patience : Clock::time_point{};
    std::string line;
    for (;;) {
        if (bounded) {
            // Looked at first, so that a silent child cannot keep a read
            // waiting past the deadline. A pipe whose writer is gone fails.
            DWORD waiting = 0;
            if (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) == FALSE) {
                return false;
            }
            if (waiting == 0) {
                if (Clock::now() >= deadline) {
                    return false;
                }
                Sleep(5);
                continue;
            }
        }
        // One byte at a time: what follows the line stays in the pipe.
        char byte = 0;
        DWORD read = 0;
        if (ReadFile(pipe, &byte, 1, &read, nullptr) == FALSE || read != 1) {
            return false;
        }
        if (byte != '\n') {
            line.push_back(byte);
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == wanted) {
            return true;
        }
        line.clear();
    }
}

std::string ChildProcess::errorOutputSoFar() {
    const HANDLE pipe = pipes_[error].get();
    std::string text;
    char buffer[512];
    DWORD waiting = 0;
    DWORD read = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) != FALSE && waiting > 0 &&
           ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) != FALSE && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

}  // namespace tav::platform

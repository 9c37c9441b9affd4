// The one way the project starts another program on Windows: the program
// and its arguments as separate words, joined into a command line by
// joinCommandLine (no quoting by hand), each standard stream inherited,
// piped or left out, and a handle that is waited on, read from and ended.
// The child inherits the handles of its streams and no other handle of this
// program (platform/win/inherited_handles.h).
// The program is found as CreateProcess finds a command line's first word:
// a full path as it is, a bare name in this program's folder, the system's
// folders and PATH.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/unique_resource.h"

namespace tav::platform {

// Where one of the child's standard streams goes.
enum class ChildStream {
    // None at all, as Explorer starts a program with windows. When no stream
    // is given the child inherits no handle of ours.
    none,
    // The same stream of this program.
    inherited,
    // This program's standard error (for a child's output that must not mix
    // with this program's own standard output).
    parentError,
    // A pipe whose other end this program keeps: its input is written (and
    // closed) by closeInput, its output read by waitForLine, its error by
    // errorOutputSoFar.
    pipe,
};

struct LaunchOptions {
    ChildStream input = ChildStream::inherited;
    ChildStream output = ChildStream::inherited;
    ChildStream error = ChildStream::inherited;
    // A child still running when its owner goes has its input closed (which
    // asks a server to finish), is given this long to end, and is then ended
    // by force with `forcedExitStatus`. Nothing: it is left running.
    std::optional<std::chrono::milliseconds> patienceWhenOwnerGoes = std::chrono::seconds(10);
    UINT forcedExitStatus = 1;
};

class ChildProcess {
  public:
    // No time limit.
    static constexpr std::chrono::milliseconds unbounded = std::chrono::milliseconds::max();

    // Starts `commandLine[0]` with the rest as its arguments. Raises
    // std::runtime_error ("cannot start PROGRAM (error N)") when it cannot.
    // A process that ends while it is still being loaded (error 1359,
    // ERROR_INTERNAL_ERROR, which Wine gives now and then) is started once
    // more before that.
    explicit ChildProcess(const std::vector<std::wstring>& commandLine,
                          const LaunchOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Signalled once the child has ended (for waits of the caller's own).
    HANDLE process() const { return process_.get(); }
    DWORD id() const { return id_; }
    bool hasEnded() const;
    // Waits at most `patience` for the child to end: its exit status, or
    // nothing while it still runs.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds patience);
    // The exit status of a child that has ended.
    DWORD exitStatus() const;
    // Ends the child at once with `status` and waits until it is gone.
    void terminate(UINT status);
    // Closes the input pipe: the child reads the end of its input.
    void closeInput();
    // closeInput, then at most `patience` for the child to end before it is
    // ended by force with the options' `forcedExitStatus`; its exit status.
    DWORD finish(std::chrono::milliseconds patience);

    // Reads the output pipe up to a line that is `line` (ended by LF or CR
    // LF), taking nothing after it. False when the output ends first (the
    // child ended without writing it) or `patience` passes.
    bool waitForLine(std::string_view line, std::chrono::milliseconds patience = unbounded);
    // What the child has written to its error pipe and nobody read yet,
    // without waiting for more.
    std::string errorOutputSoFar();

  private:
    enum Stream { input, output, error };

    LaunchOptions options_;
    // This program's ends of the child's piped streams.
    std::array<UniqueHandle, 3> pipes_;
    UniqueHandle process_;
    DWORD id_ = 0;
};

}  // namespace tav::platform

// sehost-sim.exe as the harness runs it for --com: started on the scene,
// ready once it says so on its standard output, ended by closing its
// standard input (it then finishes and writes its side of the result).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tav::hostprocess {

// A kernel handle closed exactly once.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(Handle&& other) noexcept : handle_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    HANDLE release();
    void close();

  private:
    HANDLE handle_ = nullptr;
};

class ServerProcess {
  public:
    // Starts `program` with `args`; its standard error is the harness's.
    // Raises std::runtime_error when it cannot be started.
    ServerProcess(const std::wstring& program, const std::vector<std::wstring>& args);
    // A server still running is ended as finish() would end it.
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Reads its output up to the line "ready". False when it ended first (a
    // refused scene, a registration it would not take over).
    bool waitReady();
    // Closes its standard input and waits for it to end (ending it by force
    // after `patienceMs`); its exit status.
    DWORD finish(DWORD patienceMs = 60000);

  private:
    Handle process_;
    Handle input_;   // our end of its standard input
    Handle output_;  // our end of its standard output
    bool finished_ = false;
    DWORD status_ = 0;
};

// The folder of the running program, with a trailing backslash.
std::wstring programFolder();

}  // namespace tav::hostprocess

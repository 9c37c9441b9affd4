// A sehost-sim.exe started by a test, with its standard input, output and
// error on pipes: the test waits for "ready", ends the server by closing its
// input, and reads its exit status and error lines.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tav::sehost::test {

class ServerProcess {
  public:
    explicit ServerProcess(const std::vector<std::wstring>& arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Reads standard output until the "ready" line; false if the server
    // ended (or 20 s passed) first.
    bool waitReady();
    // Closes the server's standard input: a server without a program stops.
    void closeInput();
    // Waits for the server to end (at most `ms`); its exit status, or -1.
    int waitExit(DWORD ms = 30000);
    // Everything the server wrote to standard error (after it ended).
    std::string errorText();

  private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE error_ = nullptr;
};

// The scene file `name` of the test data, and a fresh result path.
std::wstring sceneFile(const std::string& name);
std::wstring resultFile(const std::string& name);

}  // namespace tav::sehost::test

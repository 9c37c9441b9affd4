// The program a server runs with `-- PROGRAM ARGS`: started with the
// server's standard handles, watched until it ends, ended when the server's
// time runs out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "hostprocess/command_line.h"

namespace tav::sehost {

class ChildProgram {
  public:
    // Starts `commandLine[0]` with the rest as its arguments. Throws
    // std::runtime_error when it cannot be started.
    explicit ChildProgram(const std::vector<std::wstring>& commandLine);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // Signalled when the program has ended.
    HANDLE process() const { return process_; }
    // Ends the program at once and waits for it to be gone.
    void end(UINT status);
    DWORD exitStatus() const;

  private:
    HANDLE process_ = nullptr;
};

}  // namespace tav::sehost

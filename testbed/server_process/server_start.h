// sehost-sim.exe started by a program beside it (the harness over COM, the
// benchmark over COM): from this program's own folder, its standard input and
// output on pipes, its standard error this program's. Closing its input asks
// it to finish.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/win/child_process.h"

namespace tav::serverprocess {

// How long a server may take, once its input is closed, to write its files
// and end.
inline constexpr std::chrono::seconds serverFinishing{60};

// Starts the server with `arguments`.
platform::ChildProcess startServerBeside(const std::vector<std::wstring>& arguments);
// Returns once the server says it is ready. Raises std::runtime_error, with
// its exit status, when it ended first.
void waitUntilReady(platform::ChildProcess& server);

}  // namespace tav::serverprocess

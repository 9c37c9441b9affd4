// sehost-sim.exe as a test starts it: its standard input, output and error
// on pipes; the test waits for its ready line, ends it by closing its input
// (closeInput), and reads its exit status and error lines
// (errorOutputSoFar).
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/win/child_process.h"

namespace tav::sehost::test {

platform::ChildProcess startServer(const std::vector<std::wstring>& arguments);
// Reads its standard output until the ready line; false if the server ended
// (or 20 s passed) first.
bool waitReady(platform::ChildProcess& server);
// Waits for the server to end (at most `patience`); its exit status, or -1.
int waitExit(platform::ChildProcess& server,
             std::chrono::milliseconds patience = std::chrono::seconds(30));

// The scene file `name` of the test data, and a fresh result path.
std::wstring sceneFile(const std::string& name);
std::wstring resultFile(const std::string& name);

}  // namespace tav::sehost::test

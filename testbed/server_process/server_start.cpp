#include "testbed/server_process/server_start.h"

#include <stdexcept>

#include "platform/win/program_folder.h"
#include "testbed/server_process/server_protocol.h"

namespace tav::serverprocess {

platform::ChildProcess startServerBeside(const std::vector<std::wstring>& arguments) {
    std::vector<std::wstring> commandLine{
        (platform::programFolder() / L"sehost-sim.exe").wstring()};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return platform::ChildProcess(
        commandLine, {.input = platform::ChildStream::pipe, .output = platform::ChildStream::pipe});
}

void waitUntilReady(platform::ChildProcess& server) {
    if (!server.waitForLine(readyLine)) {
        throw std::runtime_error("sehost-sim.exe ended before it was ready (exit status " +
                                 std::to_string(server.finish(serverFinishing)) + ")");
    }
}

}  // namespace tav::serverprocess

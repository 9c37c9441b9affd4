#include "server_process.h"

#include <filesystem>

#include "platform/utf.h"
#include "platform/win/wide_text.h"
#include "testbed/server_process/server_protocol.h"

namespace tav::sehost::test {

platform::ChildProcess startServer(const std::vector<std::wstring>& arguments) {
    std::vector<std::wstring> commandLine{TAV_SEHOST_SIM_W};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return platform::ChildProcess(commandLine, {.input = platform::ChildStream::pipe,
                                                .output = platform::ChildStream::pipe,
                                                .error = platform::ChildStream::pipe});
}

bool waitReady(platform::ChildProcess& server) {
    return server.waitForLine(serverprocess::readyLine, std::chrono::seconds(20));
}

int waitExit(platform::ChildProcess& server, std::chrono::milliseconds patience) {
    const std::optional<DWORD> status = server.waitForExit(patience);
    return status ? static_cast<int>(*status) : -1;
}

std::wstring sceneFile(const std::string& name) {
    return platform::wideText(platform::toUtf16(std::string(TAV_SEHOST_SCENES) + "/" + name));
}

std::wstring resultFile(const std::string& name) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / (name + ".result.json");
    std::filesystem::remove(path);
    return path.wstring();
}

}  // namespace tav::sehost::test

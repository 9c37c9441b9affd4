// sehost-sim.exe SCENE.json [--result OUT.json] [--timeout SECONDS]
//                [--allow-installed] [-- PROGRAM [ARGS...]]
//
// Serves the simulated Solid Edge of a scene out of process, as the running
// "SolidEdge.Application", so that the tool attaches to it over COM exactly as
// it attaches to Solid Edge.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/win/unique_resource.h"
#include "tools/sehost-sim/server.h"

namespace {

std::vector<std::wstring> commandLineArguments() {
    int count = 0;
    const tav::platform::UniqueLocalMemory<LPWSTR*> split(
        CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> args;
    for (int i = 1; split && i < count; ++i) {
        args.emplace_back(split.get()[i]);
    }
    return args;
}

}  // namespace

int main() {
    try {
        const tav::sehost::ServerOptions options =
            tav::sehost::parseServerOptions(commandLineArguments());
        if (options.help) {
            std::cout << tav::sehost::serverUsage;
            return 0;
        }
        return tav::sehost::runServer(options);
    } catch (const tav::sehost::UsageError& error) {
        std::cerr << "sehost-sim: " << error.what() << '\n' << tav::sehost::serverUsage;
        return tav::sehost::refusedStatus;
    } catch (const std::exception& error) {
        std::cerr << "sehost-sim: " << error.what() << '\n';
        return 1;
    }
}

// sehost-sim.exe SCENE.json [--result OUT.json] [--timeout SECONDS]
//                [--allow-installed] [--type-library REPORT] [-- PROGRAM [ARGS...]]
//
// Serves the simulated Solid Edge of a scene out of process, as the running
// "SolidEdge.Application", so that the tool attaches to it over COM exactly as
// it attaches to Solid Edge.
#include <windows.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/win/program_arguments.h"
#include "tools/sehost-sim/server.h"

int main() {
    try {
        const tav::sehost::ServerOptions options =
            tav::sehost::parseServerOptions(tav::platform::programArguments());
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

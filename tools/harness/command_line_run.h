// The harness's --cli: the command-line tool's own code run against the
// simulated host, its output shown and its result written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/sim/scene.h"

namespace tav::harness {

struct CommandLineRun {
    std::string scenePath;
    std::string resultPath;            // empty: no result file
    std::string programDir;            // empty: a fresh empty folder, removed afterwards
    std::int32_t interruptAtCall = 0;  // 0: none
    std::vector<std::string> arguments;
    bool quiet = false;
    // Over COM (Windows): the scene served by sehost-sim.exe, with the
    // harness's options for it.
    bool overCom = false;
    std::int64_t busyBoundMs = 30000;
    std::string roundTrips = {};
    std::string typeLibraryReport = {};
};

// 0 when the tool ran (whatever its exit status), else the harness's own
// status: 2 when the result cannot be written, 1 for an internal error.
int runCommandLineTool(sim::Scene scene, const CommandLineRun& run);

}  // namespace tav::harness

// One run of the command-line tool in process on a batch scene, measured the
// way the harness's --cli runs it but with no event kept, written or passed
// on: load the scene, build the simulated host from it, run the tool, read
// the host's state back. Meant to run in a process of its own, so that its
// peak memory is the run's alone; the peak is read after the host is built
// and again after the tool ends, so that what the host's fixture holds and
// what the tool's run adds can be told apart.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/bench/harness_phases.h"

namespace tav::bench {

struct BatchFigures {
    PhaseTime load;                   // reading the scene file
    PhaseTime fixture;                // building the simulated host from the scene
    PhaseTime tool;                   // the command-line tool's run, start to exit
    std::int64_t fixturePeakKiB = 0;  // the process's peak once the host is built
    std::int64_t peakKiB = 0;         // the process's peak once the tool has ended
    std::int64_t hostCalls = 0;
    int exitCode = -1;
    int documentsSaved = 0;  // documents saved at least once and closed again
};

BatchFigures measureCliBatch(const std::filesystem::path& scenePath,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& programFolder);

std::string toLine(const BatchFigures& figures);
BatchFigures batchFiguresFromLine(const std::string& line);

}  // namespace tav::bench

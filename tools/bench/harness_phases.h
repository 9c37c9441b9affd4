// One harness run (load the scene, run the tool with Process, write the
// result file) measured phase by phase, the way tavrelmondix-sim --quiet
// --result does it. Meant to run in a process of its own, so that its peak
// memory is the run's alone.
#pragma once

#include <cstdint>
#include <string>

#include "tools/bench/process_clock.h"

namespace tav::bench {

struct HarnessFigures {
    PhaseTime load;
    PhaseTime run;
    PhaseTime result;
    std::int64_t peakKiB = 0;  // the process's peak resident memory, 0 when unknown
    std::int64_t hostCalls = 0;
    std::int64_t partMembers = 0;  // part members in every view
    std::string end;               // how the program ended

    PhaseTime total() const;
};

HarnessFigures measureHarnessRun(const std::string& scenePath, const std::string& resultPath);

// One line of text, and back: how the measuring process reports.
std::string toLine(const HarnessFigures& figures);
HarnessFigures fromLine(const std::string& line);

}  // namespace tav::bench

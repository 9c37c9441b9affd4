// Everything one run of the benchmark measured.
#pragma once

#include <string>
#include <vector>

#include "tools/bench-com/bare_round_trip.h"
#include "tools/bench-com/drawing_run.h"

namespace tav::benchcom {

struct BenchReport {
    std::string machine;
    // The bare round trip, measured before the drawings and again after
    // them: a machine whose load changed meanwhile shows as a difference.
    BareRoundTrip bareBefore;
    BareRoundTrip bareAfter;
    std::vector<DrawingRun> drawings;
};

// A drawing's mean time per host call, in milliseconds: its whole run
// (start-up included) over its host calls.
double msPerHostCall(const DrawingRun& run);
// The same without what a run spends around the run itself: the whole run
// less an Exit-only run of the drawing, over the host calls less its own.
double netMsPerHostCall(const DrawingRun& run);

// The mean of the two bare medians: the one figure for a round trip where
// a single one is needed.
double bareMedianMs(const BenchReport& report);

}  // namespace tav::benchcom

// The bare round trip between two processes: sehost-sim.exe serves a small
// drawing, and this process times Invokes of the dispatch id that every
// served object answers at once without calling the host. It is what any
// host call over COM costs at the least, on this machine and at this time.
#pragma once

#include <cstdint>
#include <filesystem>

#include "tools/bench-com/call_times.h"
#include "tools/bench-com/round_trip_file.h"

namespace tav::benchcom {

struct BareRoundTrip {
    // From starting sehost-sim.exe to its "ready": part of every whole run.
    double serverReadySeconds = 0;
    CallTimes times;
    // What the server counted: it should be one Invoke per call made (the
    // untimed warm-up included) and little else.
    ServerRoundTrips server;
};

// Untimed calls before the timed ones: the first calls set up the proxy and
// the channel between the processes.
inline constexpr int warmUpCalls = 20;

// Starts sehost-sim.exe from this program's folder on `scene`, counting its
// round trips into `roundTripsFile`; makes the warm-up calls, then `calls`
// timed ones, and ends the server. Raises std::runtime_error (or
// host::AutomationError for COM) when any of it fails.
BareRoundTrip measureBareRoundTrip(const std::filesystem::path& scene,
                                   const std::filesystem::path& roundTripsFile, int calls,
                                   int batchSize);

}  // namespace tav::benchcom

// One run of the server: loads the scene, makes the simulated host reachable
// over COM, serves until its program ends, its input ends, it is interrupted
// or its time runs out, then finishes (revokes, unregisters, writes the
// result) and gives the exit status.
#pragma once

#include "testbed/server_process/server_protocol.h"
#include "tools/sehost-sim/server_options.h"

namespace tav::sehost {

inline constexpr int refusedStatus = 2;
inline constexpr int timedOutStatus = 3;
// Interrupted from the console (Ctrl+C, Ctrl+Break, closing it).
inline constexpr int interruptedStatus = 130;

int runServer(const ServerOptions& options);

}  // namespace tav::sehost

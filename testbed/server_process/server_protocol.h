// What sehost-sim.exe and the programs that start it agree on beside the
// host's own members: the line that says it is ready, and the call that does
// nothing.
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace tav::serverprocess {

// The line the server prints on its standard output once clients can reach
// it; those that start it wait for it.
inline constexpr char readyLine[] = "ready";

// A dispatch id that no host object has: every served object answers an
// Invoke of it at once, doing nothing, and it is no host call. One such call
// is a bare round trip between the processes, for the benchmark over COM.
inline constexpr DISPID doNothingId = 0x7F000000;

}  // namespace tav::serverprocess

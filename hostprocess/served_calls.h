// What sehost-sim.exe answers beside the host's own members, known to the
// server and to the programs that time it.
#pragma once

#include <windows.h>

namespace tav::sehost {

// A dispatch id that no host object has: every served object answers an
// Invoke of it at once, doing nothing, and it is no host call. One such call
// is a bare round trip between the processes, for the benchmark over COM.
inline constexpr DISPID doNothingId = 0x7F000000;

}  // namespace tav::sehost

// The host application's two Boolean switches that a run holds: interactive
// (False while the tool works) and delay-compute (True while it works). Held
// at the start of a run and given back at its end, after a failed run and in
// the shutdown.
#pragma once

#include "host/automation_ids.h"
#include "host/value.h"

namespace tav::engine {

// Each put is one step of the caller's error mode: `step` runs it strictly,
// tolerates its failure, or remembers it, as the caller's place requires.
template <class Step>
void holdHostSwitches(const host::ObjectRef& hostApp, Step&& step) {
    step([&] { hostApp.put(host::dispatch::application::interactive, false); });
    step([&] { hostApp.put(host::dispatch::application::delayCompute, true); });
}

template <class Step>
void restoreHostSwitches(const host::ObjectRef& hostApp, Step&& step) {
    step([&] { hostApp.put(host::dispatch::application::interactive, true); });
    step([&] { hostApp.put(host::dispatch::application::delayCompute, false); });
}

}  // namespace tav::engine

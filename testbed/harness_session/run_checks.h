// What every run of the tool must leave behind, whatever failed on the way:
// a defined end, no reference held when it ended, Solid Edge interactive again,
// no closing command after a fatal error, and no selection of the tool's own
// left standing. The fault sweep checks each of its runs with these, and the
// session fuzzer each of its inputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "testbed/harness_session/session.h"

namespace tav::session {

// What a run was given to fail. `failCall` is the scene's failing host call;
// the scene's fault keys need no description, as every failure they cause
// shows in the run's events where it matters.
struct InjectedFault {
    std::optional<std::int32_t> failCall;
};

// The problems of one run, each as one sentence; empty when it is sound.
// The run must have been started with Process as its only action.
std::vector<std::string> checkRun(const SessionOutcome& outcome, const InjectedFault& fault);

}  // namespace tav::session

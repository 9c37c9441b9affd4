// The tool over COM, as `tavrelmondix-sim --com` runs it: sehost-sim.exe
// (from the harness's own folder) serves the scene out of process, the tool
// attaches to it exactly as tavrelmondix.exe attaches to Solid Edge, with the
// recording window, and the two sides' results are merged into one.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/com/busy_host.h"
#include "tools/harness/session.h"

namespace tav::harness {

struct ComSessionOutcome {
    // What the tool saw: its end, the window, the window's events. The
    // host's fields are filled from the server's result when it finished.
    SessionOutcome toolSide;
    // The merged result file.
    nlohmann::ordered_json result;
    // False when the server ended without finishing (it crashed): the result
    // then holds the tool's side only.
    bool hostFinished = false;
};

// Raises std::runtime_error when the server cannot be started or ends before
// it is ready.
// `scene` is the scene file's content, already loaded (for the report of
// what changed).
ComSessionOutcome runComSession(const std::string& scenePath, sim::Scene scene,
                                const std::vector<Action>& actions, const EventSink& live,
                                const com::BusyRetryPolicy& busy);

}  // namespace tav::harness

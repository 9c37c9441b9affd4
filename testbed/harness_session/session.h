// One run of the tool against the simulated host, as a user would run it:
// start-up first, then the user's actions, answering every message box and
// the about box with OK at once.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lifecycle.h"
#include "app/recording_window.h"
#include "app/ui_event.h"
#include "host/sim/scene.h"
#include "testbed/result_file/outcome.h"

namespace tav::session {

enum class Action { process, exit, help, close };

// "process,help,exit" → actions; "" → none. Raises std::invalid_argument
// naming an unknown action.
std::vector<Action> parseActions(std::string_view text);

using EventSink = std::function<void(const result::Event&)>;

// Both parts of the result and every event the session kept.
struct SessionOutcome : result::Outcome {
    // The same members as the scene brought them, for reports of what changed
    // (empty unless SessionOptions::membersBefore).
    std::vector<result::PartMemberState> partMembersBefore;
};

enum class EventRetention {
    keep,        // in SessionOutcome::events
    streamOnly,  // only through the live sink: long runs keep memory flat
};

struct SessionOptions {
    EventRetention events = EventRetention::keep;
    // Keep the members as the scene brought them (partMembersBefore), for a
    // report of what changed.
    bool membersBefore = true;
};

// Start-up, then the user's actions until the program ends (later actions
// are ignored, as the program is gone); how the program ended.
app::ProgramEnd playActions(app::Form1& form, const std::vector<Action>& actions);

// Runs the tool on `scene`. `live` sees every event as it happens.
SessionOutcome runSession(sim::Scene scene, const std::vector<Action>& actions,
                          const EventSink& live = {}, SessionOptions options = {});

// Names of the line styles the run created, in collection order.
std::vector<std::string> createdStyles(const SessionOutcome& outcome);

}  // namespace tav::session

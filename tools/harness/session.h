// One run of the tool against the simulated host, as a user would run it:
// start-up first, then the user's actions, answering every message box and
// the about box with OK at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/lifecycle.h"
#include "app/recording_window.h"
#include "app/ui_event.h"
#include "app/window_state.h"
#include "host/sim/scene.h"
#include "host/sim/sim_host.h"

namespace tav::harness {

enum class Action { process, exit, help, close };

// "process,help,exit" → actions; "" → none. Raises std::invalid_argument
// naming an unknown action.
std::vector<Action> parseActions(std::string_view text);

using Event = std::variant<app::UiEvent, sim::HostEvent>;
using EventSink = std::function<void(const Event&)>;

// What the host holds when the tool has ended: the host's part of a result,
// which an out-of-process host writes on its own.
struct HostOutcome {
    std::int32_t hostCalls = 0;
    // References still held when the tool ended (or when the actions ran out).
    std::int32_t heldReferences = 0;
    bool interactive = true;
    bool delayCompute = false;
    std::vector<std::int32_t> commands;
    std::vector<std::string> selection;
    std::vector<sim::LineStyleState> lineStyles;
    std::vector<sim::PartMemberState> partMembers;
};

HostOutcome hostOutcomeOf(const sim::SimInspector& host);

// How the program ended and what its window shows: the window's part.
struct WindowOutcome {
    app::ProgramEnd end = app::ProgramEnd::running;
    // What the recording window shows as the program ends.
    app::WindowState window;
};

struct SessionOutcome : HostOutcome, WindowOutcome {
    // The same members as the scene brought them, for reports of what changed
    // (empty unless SessionOptions::membersBefore).
    std::vector<sim::PartMemberState> partMembersBefore;
    // Every event in order, unless the session only passed them to its sink.
    std::vector<Event> events;
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

// The name of a program end in results: refused, my_end, fatal, closed, open.
const char* endName(app::ProgramEnd end);

}  // namespace tav::harness

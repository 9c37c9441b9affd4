// Over COM the host's part of a result comes from the server's own file
// (writeHostPart) and the window's part from the harness; these put them
// back together into the in-process result.
#pragma once

#include <cstdint>
#include <istream>
#include <vector>

#include "app/ui_event.h"
#include "host/sim/host_event.h"
#include "tools/harness/event_log.h"
#include "tools/harness/session.h"

namespace tav::harness {

struct HostPart {
    HostOutcome outcome;
    std::int64_t nameLookups = 0;
    std::vector<sim::HostEvent> events;  // each with its call number
};

// Reads a host's part; raises std::runtime_error saying what is wrong.
HostPart readHostPart(std::istream& in);

// A window event with the number of host calls the tool had made when it
// happened.
struct WindowEvent {
    app::UiEvent event;
    std::int32_t hostCallsBefore = 0;
};

// Both parts' events into `log` in the order they happened: a host event
// comes before a window event exactly when its call had been made by then.
void mergeEvents(const std::vector<WindowEvent>& window, const std::vector<sim::HostEvent>& host,
                 EventLog& log);

}  // namespace tav::harness

// Over COM the host's events come from the server's part, each with its host
// call number, and the window's from the harness, each with the number of
// host calls the tool had made by then; merged, they are the in-process
// result's events in the order they happened.
#pragma once

#include <cstdint>
#include <vector>

#include "app/ui_event.h"
#include "testbed/result_file/event_log.h"
#include "testbed/result_file/records/host_event.h"

namespace tav::result {

// A window event with the number of host calls the tool had made when it
// happened.
struct WindowEvent {
    app::UiEvent event;
    std::int32_t hostCallsBefore = 0;
};

// Both parts' events into `log` in the order they happened: a host event
// comes before a window event exactly when its call had been made by then.
void mergeEvents(const std::vector<WindowEvent>& window, const std::vector<result::HostEvent>& host,
                 EventLog& log);

}  // namespace tav::result

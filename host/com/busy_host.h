// A busy host: Solid Edge rejects calls while it shows a dialog or
// recomputes (isBusyRejection, automation_errors.h). The client then retries
// the call after a short delay, for a bounded time, keeping the thread's
// windows painting while it waits.
#pragma once

#include <windows.h>

#include <chrono>

namespace tav::com {

struct BusyRetryPolicy {
    // Between two tries: short enough to notice the host coming back soon.
    std::chrono::milliseconds delay{100};
    // In all, per call: past it the call fails as any host error does.
    std::chrono::milliseconds bound{30000};
};

// Waits `delay` while dispatching the thread's messages, so that its windows
// go on painting. A WM_QUIT met on the way is posted again for the
// program's own loop.
void waitDispatchingMessages(std::chrono::milliseconds delay);

}  // namespace tav::com

// A busy host: Solid Edge rejects calls while it shows a dialog or
// recomputes. The client then retries the call after a short delay, for a
// bounded time, keeping the thread's windows painting while it waits.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace tav::com {

struct BusyRetryPolicy {
    // Between two tries: short enough to notice the host coming back soon.
    std::chrono::milliseconds delay{100};
    // In all, per call: past it the call fails as any host error does.
    std::chrono::milliseconds bound{30000};
};

// RPC_E_CALL_REJECTED, and Windows' RPC_E_SERVERCALL_RETRYLATER (where its
// runtime's own retry gave up).
bool isBusyRejection(HRESULT hr);

// Runs `attempt` until it returns anything but a busy rejection, or until
// `policy.bound` has passed since the first try; returns the last HRESULT.
// Between tries it waits `policy.delay`, dispatching the thread's messages.
HRESULT retryWhileBusy(const BusyRetryPolicy& policy, const std::function<HRESULT()>& attempt);

// Waits `delay` while dispatching the thread's messages, so that its windows
// go on painting. A WM_QUIT met on the way is posted again for the
// program's own loop.
void waitDispatchingMessages(std::chrono::milliseconds delay);

}  // namespace tav::com

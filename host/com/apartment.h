// The thread's COM apartment: single-threaded, as a client with windows
// needs, with the busy-host message filter registered for its life and the
// watch over the thread's calls to the host. Created first thing on the
// thread; left on every way out: by its destructor, or by `leave` before a
// process ends at once (Solid Edge then frees what the tool held at once,
// not after COM's ping time-out).
#pragma once

#include <windows.h>

#include <objidl.h>

#include <optional>

#include "host/com/call_watch.h"
#include "host/com/message_filter.h"
#include "platform/win/com_initialization.h"
#include "platform/win/installed_message_filter.h"

namespace tav::com {

// Tells the thread's apartment which proxy and stub serve IDispatch (the
// automation library's), as the registry says; a failure changes nothing.
void namePlainDispatchProxy();

class Apartment {
  public:
    // Raises AutomationError when the thread cannot enter the apartment.
    explicit Apartment(BusyRetryPolicy policy = {});
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    CallWatch& calls() { return calls_; }
    // Revokes the filter and uninitialises COM, releasing whatever proxies
    // are left; nothing of COM may be used afterwards. Safe to call twice.
    void leave();

  private:
    // Left in the reverse order: the filter revoked, then COM left.
    CallWatch calls_;
    BusyHostFilter filter_;
    platform::ComInitialization com_;
    std::optional<platform::InstalledMessageFilter> installedFilter_;
};

}  // namespace tav::com

// The server's thread as COM sees it: its single-threaded apartment, the
// application's entry in the running-object table, and the loop that serves
// the clients' calls until the server is to stop.
#pragma once

#include <windows.h>

#include <chrono>
#include <utility>
#include <vector>

#include "platform/win/com_initialization.h"

namespace tav::sehost {

// The server thread's single-threaded apartment (the client's is
// com::Apartment): incoming calls arrive as window messages on this thread
// while `serve` pumps them.
class ServerApartment {
  public:
    // Raises std::runtime_error when the thread cannot enter it.
    ServerApartment();

  private:
    platform::ComInitialization com_;
};

// The application object in the running-object table under the server's
// class id; revoked when it goes, or earlier.
class RunningEntry {
  public:
    // Raises std::runtime_error when the table refuses it.
    explicit RunningEntry(IUnknown* application);
    ~RunningEntry();
    RunningEntry(const RunningEntry&) = delete;
    RunningEntry& operator=(const RunningEntry&) = delete;

    void revoke();

  private:
    DWORD cookie_ = 0;
};

enum class StopReason { programEnded, inputEnded, interrupted, timedOut };

// Pumps the apartment's messages (the clients' calls) until one of `waits`
// is signalled (its reason) or the deadline passes.
StopReason serve(const std::vector<std::pair<HANDLE, StopReason>>& waits,
                 std::chrono::steady_clock::time_point deadline);

}  // namespace tav::sehost

// The thread's COM apartment: single-threaded, as a client with windows
// needs, with the busy-host message filter registered for its life. Created
// first thing on the thread; uninitialised on every way out, exceptions
// included.
#pragma once

#include <windows.h>

#include <objidl.h>

#include "host/com/busy_host.h"
#include "host/com/message_filter.h"

namespace tav::com {

class Apartment {
  public:
    // Raises AutomationError when the thread cannot enter the apartment.
    explicit Apartment(BusyRetryPolicy policy = {});
    ~Apartment();
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

  private:
    BusyHostFilter filter_;
    IMessageFilter* previousFilter_ = nullptr;
    bool filterRegistered_ = false;
};

}  // namespace tav::com

// A pulse for a window, twice a second, that reaches it also while its
// thread waits for the answer to a COM call.
//
// A timer does not: COM's wait for a call dispatches sent messages, paint and
// its own, but takes no WM_TIMER off the queue (Wine 8 does not even wake up
// for one), so a heartbeat timer stops while a call is out, which is when it
// is needed. A message sent from another thread is answered during any wait
// that lets the thread take messages, so a thread of the pulse's own sends
// it, and the window answers it on its own thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/win/unique_resource.h"

namespace tav::app::win {

class Heartbeat {
  public:
    // Sends `message` to `window` every `interval` until destroyed.
    Heartbeat(HWND window, UINT message, std::chrono::milliseconds interval);
    // Stops the pulse; waits at most one interval for a send that is out.
    ~Heartbeat();
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;

  private:
    platform::UniqueHandle stop_;
    std::thread thread_;
};

}  // namespace tav::app::win

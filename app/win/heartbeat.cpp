#include "app/win/heartbeat.h"

namespace tav::app::win {

Heartbeat::Heartbeat(HWND window, UINT message, std::chrono::milliseconds interval)
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    const auto ms = static_cast<DWORD>(interval.count());
    thread_ = std::thread([this, window, message, ms] {
        while (WaitForSingleObject(stop_.get(), ms) == WAIT_TIMEOUT) {
            // A thread that takes no messages for a while (a run between two
            // calls) misses a pulse rather than holding this one up.
            SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, ms, nullptr);
        }
    });
}

Heartbeat::~Heartbeat() {
    SetEvent(stop_.get());
    thread_.join();
}

}  // namespace tav::app::win

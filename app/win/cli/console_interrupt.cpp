#include "app/win/cli/console_interrupt.h"

#include <atomic>

namespace tav::app::win {
namespace {

// The handler runs on a thread of its own, with no way to pass it state.
std::atomic<cli::InterruptGate*> interruptGate{nullptr};
HANDLE tidiedUpEvent = nullptr;

// Windows allows a closing console about five seconds.
constexpr DWORD closingWaitMs = 4500;

}  // namespace

ConsoleInterrupt::ConsoleInterrupt(cli::InterruptGate& gate) {
    tidiedUpEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    interruptGate.store(&gate);
    SetConsoleCtrlHandler(&ConsoleInterrupt::onControl, TRUE);
}

ConsoleInterrupt::~ConsoleInterrupt() {
    tidiedUp();
    SetConsoleCtrlHandler(&ConsoleInterrupt::onControl, FALSE);
    interruptGate.store(nullptr);
    // The event stays: a handler still waiting on it must find it valid.
}

void ConsoleInterrupt::tidiedUp() {
    if (tidiedUpEvent != nullptr) {
        SetEvent(tidiedUpEvent);
    }
}

BOOL WINAPI ConsoleInterrupt::onControl(DWORD event) {
    cli::InterruptGate* gate = interruptGate.load();
    if (gate == nullptr) {
        return FALSE;
    }
    gate->request();
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            return TRUE;  // the run stops on its own
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            if (tidiedUpEvent != nullptr) {
                WaitForSingleObject(tidiedUpEvent, closingWaitMs);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tav::app::win

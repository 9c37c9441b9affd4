#include "host/com/busy_host.h"

namespace tav::com {

void waitDispatchingMessages(std::chrono::milliseconds delay) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + delay;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0) {
            return;
        }
        DWORD woken = MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()),
                                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0) {
            continue;  // the time has passed
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The program's own loop ends on it; wait out the rest quietly.
                PostQuitMessage(static_cast<int>(message.wParam));
                const auto rest =
                    std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
                if (rest.count() > 0) {
                    Sleep(static_cast<DWORD>(rest.count()));
                }
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace tav::com

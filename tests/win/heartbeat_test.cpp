// The heartbeat reaches a hidden window whose thread waits as COM's wait for
// a call's answer does: taking sent messages only.
#include "app/win/heartbeat.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tav::app::win {
namespace {

constexpr UINT pulseMessage = WM_APP + 7;
int pulses = 0;

LRESULT CALLBACK countPulses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == pulseMessage) {
        ++pulses;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND hiddenWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &countPulses;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HeartbeatTestWindow";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"HeartbeatTestWindow", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(Heartbeat, ReachesAHiddenWindowWhoseThreadTakesOnlySentMessages) {
    HWND window = hiddenWindow();
    ASSERT_NE(window, nullptr);
    pulses = 0;
    {
        const Heartbeat heartbeat(window, pulseMessage, std::chrono::milliseconds(10));
        // As COM waits for a call's answer: woken by sent messages, which
        // PeekMessage answers; posted messages and timers stay queued.
        for (int wait = 0; wait < 100 && pulses < 3; ++wait) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_SENDMESSAGE, 0);
            MSG message{};
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    EXPECT_GE(pulses, 3);
    const int afterStop = pulses;
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    EXPECT_EQ(pulses, afterStop) << "no pulse once the heartbeat is gone";
    DestroyWindow(window);
}

}  // namespace
}  // namespace tav::app::win

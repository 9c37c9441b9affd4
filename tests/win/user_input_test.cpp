// Before an error box is shown over a run, the keys and clicks still queued
// are thrown away; the thread's other messages are not.
#include "app/win/user_input.h"

#include <gtest/gtest.h>

#include <vector>

namespace tav::app::win {
namespace {

constexpr UINT programMessage = WM_APP + 7;

std::vector<UINT> takeAll(HWND window) {
    std::vector<UINT> taken;
    MSG message{};
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE) != FALSE) {
        taken.push_back(message.message);
    }
    return taken;
}

class DiscardQueuedUserInputTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(window, nullptr); }
    void TearDown() override { DestroyWindow(window); }

    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
};

TEST_F(DiscardQueuedUserInputTest, ThrowsAwayQueuedKeysAndClicks) {
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(window, WM_CHAR, L'\r', 1);
    PostMessageW(window, WM_KEYUP, VK_RETURN, 0xC0000001);
    PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCLOSE, 0);
    // Input to the thread rather than a window is typed input too.
    PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_SPACE, 1);

    discardQueuedUserInput();

    EXPECT_EQ(takeAll(window), std::vector<UINT>{});
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(DiscardQueuedUserInputTest, LeavesTheProgramsOwnMessagesInTheirOrder) {
    PostMessageW(window, programMessage, 1, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(window, programMessage, 2, 0);

    discardQueuedUserInput();

    EXPECT_EQ(takeAll(window), (std::vector<UINT>{programMessage, WM_CLOSE, programMessage}));
}

TEST_F(DiscardQueuedUserInputTest, LeavesAPendingRepaintAndTimers) {
    ShowWindow(window, SW_SHOWNA);
    ValidateRect(window, nullptr);
    InvalidateRect(window, nullptr, TRUE);
    SetTimer(window, 1, 1, nullptr);
    Sleep(20);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);

    discardQueuedUserInput();

    MSG message{};
    EXPECT_TRUE(PeekMessageW(&message, window, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    KillTimer(window, 1);
    EXPECT_FALSE(PeekMessageW(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
}

}  // namespace
}  // namespace tav::app::win

// Into the topmost band and out again: the window ends above the windows
// that are not topmost, in its place and at its size.
#include "app/win/window_pos.h"

#include <gtest/gtest.h>

namespace tav::app::win {
namespace {

bool isTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(WindowPos, TopmostThenNotTopmostKeepsThePlaceAndSizeOfAHiddenWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_CAPTION, 40, 50, 300, 120,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT before{};
    GetWindowRect(window, &before);

    setTopmost(window);
    EXPECT_TRUE(isTopmost(window));
    clearTopmost(window);
    EXPECT_FALSE(isTopmost(window));

    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(IsWindowVisible(window));
    DestroyWindow(window);
}

}  // namespace
}  // namespace tav::app::win

// The error box of a run is in the topmost band, whatever Windows makes of
// MB_TOPMOST (Wine 8 ignores it).
#include "app/win/topmost_message_box.h"

#include <gtest/gtest.h>

namespace tav::app::win {
namespace {

const wchar_t* const title = L"Topmost box test";

// Looked at from inside the box's own message loop, then answered.
LONG_PTR boxExStyle = 0;
bool boxSeen = false;

void CALLBACK lookAtTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", title);
    if (box == nullptr || IsWindowVisible(box) == FALSE) {
        return;
    }
    KillTimer(nullptr, timer);
    boxSeen = true;
    boxExStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(TopmostMessageBox, IsInTheTopmostBandAndAnsweredAsAnyBox) {
    SetTimer(nullptr, 0, 10, &lookAtTheBox);
    EXPECT_EQ(showTopmostMessageBox(nullptr, L"Error 5: test", title, MB_OK), IDOK);
    ASSERT_TRUE(boxSeen);
    EXPECT_NE(boxExStyle & WS_EX_TOPMOST, 0);
}

}  // namespace
}  // namespace tav::app::win

// The main window as the run sees it: what it shows after each change, laid
// out in twips at its own DPI; the start-up notice; a second start's request.
#include "app/win/win32_main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/win/session_instance.h"

namespace tav::app::win {
namespace {

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

HWND controlWithText(HWND parent, const wchar_t* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (textOf(child) == text) {
            return child;
        }
    }
    return nullptr;
}

HWND firstOfClass(HWND parent, const wchar_t* className) {
    return FindWindowExW(parent, nullptr, className, nullptr);
}

class MainWindowTest : public ::testing::Test {
  protected:
    Win32MainWindow window{GetModuleHandleW(nullptr)};
    HWND main = FindWindowW(L"TavrelmondixMain", L"Match ASM and Part Colors");
};

TEST_F(MainWindowTest, IsCreatedHiddenWithItsClientAreaInTwipsAtItsDpi) {
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    const int dpi = static_cast<int>(GetDpiForWindow(main));
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, MulDiv(6855, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(1080, dpi, 1440));
}

TEST_F(MainWindowTest, ShowsEachCaptionAsSetAndGivesItBack) {
    window.setCaption(engine::StatusLine::view, u"Processing View 1 to 3");
    window.setCaption(engine::StatusLine::part, u"Processing Part & Co...");
    EXPECT_EQ(window.caption(engine::StatusLine::view), u"Processing View 1 to 3");
    EXPECT_EQ(window.caption(engine::StatusLine::part), u"Processing Part & Co...");
    EXPECT_NE(controlWithText(main, L"Processing View 1 to 3"), nullptr);
    EXPECT_NE(controlWithText(main, L"Processing Part & Co..."), nullptr);
}

TEST_F(MainWindowTest, ProgressBarShowsWholeStepsAndKeepsTheValuesAsSet) {
    window.setProgressMin(0.0f);
    window.setProgressMax(15.0f);
    window.setProgressValue(7.6f);
    HWND bar = firstOfClass(main, PROGRESS_CLASSW);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 8);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 15);
    EXPECT_FLOAT_EQ(window.progressValue(), 7.6f);
    EXPECT_FLOAT_EQ(window.progressMax(), 15.0f);
}

TEST_F(MainWindowTest, ProgressBarAtTheTopKeepsItsRange) {
    window.setProgressMin(0.0f);
    window.setProgressMax(15.0f);
    window.setProgressValue(15.0f);
    HWND bar = firstOfClass(main, PROGRESS_CLASSW);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 15);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 15);
}

TEST_F(MainWindowTest, RepaintLeavesTheUsersInputInTheQueue) {
    HWND process = controlWithText(main, L"Process");
    ASSERT_NE(process, nullptr);
    PostMessageW(process, WM_KEYDOWN, VK_SPACE, 1);
    window.repaint();
    MSG message{};
    EXPECT_TRUE(PeekMessageW(&message, process, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
}

TEST_F(MainWindowTest, GivesTheFocusBackToTheControlThatHadItWhenActivatedAgain) {
    window.show(SW_SHOW);
    HWND process = controlWithText(main, L"Process");
    HWND exit = controlWithText(main, L"Exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(GetFocus(), process);
    SetFocus(exit);
    SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(process);
    SendMessageW(main, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), exit);
}

TEST_F(MainWindowTest, LaysItsControlsOutAgainAtANewDpi) {
    HWND process = controlWithText(main, L"Process");
    ASSERT_NE(process, nullptr);
    RECT suggested{};
    GetWindowRect(main, &suggested);
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT place{};
    GetWindowRect(process, &place);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, MulDiv(4200, 192, 1440));
    EXPECT_EQ(place.top, MulDiv(120, 192, 1440));
    EXPECT_EQ(place.right - place.left, MulDiv(780, 192, 1440));
}

void dispatchPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
}

HWND startUpNotice() {
    return FindWindowW(nullptr, L"Tavrelmondix");
}

TEST_F(MainWindowTest, AHeldStartUpCallShowsTheNoticeUntilTheWindowIsShown) {
    window.showWaitingForHost(true);
    HWND notice = startUpNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_NE(controlWithText(notice, L"Waiting for Solid Edge\u2026"), nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(textOf(main), L"Match ASM and Part Colors");

    window.showWaitingForHost(false);
    EXPECT_TRUE(IsWindowVisible(notice)) << "the call returned, start-up goes on";
    window.show(SW_SHOW);
    EXPECT_FALSE(IsWindow(notice));

    window.showWaitingForHost(true);
    EXPECT_EQ(startUpNotice(), nullptr);
    EXPECT_EQ(textOf(main), L"Match ASM and Part Colors - waiting for Solid Edge");
    window.showWaitingForHost(false);
    EXPECT_EQ(textOf(main), L"Match ASM and Part Colors");
}

TEST_F(MainWindowTest, ASecondStartRestoresTheRunningWindow) {
    window.show(SW_SHOW);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));
    ASSERT_TRUE(askRunningWindowForward(Win32MainWindow::windowClassName));
    dispatchPending();
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(GetForegroundWindow(), main);
}

TEST_F(MainWindowTest, AWindowAskedForwardDuringStartUpStaysHiddenUntilShown) {
    ASSERT_TRUE(askRunningWindowForward(Win32MainWindow::windowClassName));
    dispatchPending();
    EXPECT_FALSE(IsWindowVisible(main));
    window.show(SW_SHOWMINNOACTIVE);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(GetForegroundWindow(), main);
}

TEST_F(MainWindowTest, ClosingWithoutAFormDoesNothing) {
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindowTest, CloseAllDestroysTheWindow) {
    window.closeAll();
    EXPECT_FALSE(IsWindow(main));
}

}  // namespace
}  // namespace tav::app::win

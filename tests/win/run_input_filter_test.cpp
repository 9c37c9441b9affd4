// Input to the main window during a run is dropped as it is taken from the
// queue, by whichever loop takes it; input to other windows is not.
#include "app/win/run_input_filter.h"

#include <gtest/gtest.h>

namespace tav::app::win {
namespace {

HWND makeWindow(HWND parent) {
    return CreateWindowExW(0, L"STATIC", L"", parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

UINT takeFromQueue(HWND window) {
    MSG message{};
    if (!PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        return static_cast<UINT>(-1);
    }
    return message.message;
}

class RunInputFilterTest : public ::testing::Test {
  protected:
    void TearDown() override {
        DestroyWindow(other);
        DestroyWindow(main);
    }
    HWND main = makeWindow(nullptr);
    HWND button = makeWindow(main);
    HWND other = makeWindow(nullptr);
    bool running = false;
    RunInputFilter filter{main, [this] { return running; }};
};

TEST_F(RunInputFilterTest, DropsClicksAndKeysForTheWindowAndItsControlsDuringARun) {
    running = true;
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(takeFromQueue(button), static_cast<UINT>(WM_NULL));
    PostMessageW(main, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(takeFromQueue(main), static_cast<UINT>(WM_NULL));
    PostMessageW(main, WM_NCLBUTTONDOWN, HTCLOSE, 0);
    EXPECT_EQ(takeFromQueue(main), static_cast<UINT>(WM_NULL));
}

TEST_F(RunInputFilterTest, KeepsInputOutsideARun) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(takeFromQueue(button), static_cast<UINT>(WM_LBUTTONDOWN));
}

TEST_F(RunInputFilterTest, KeepsInputForOtherWindowsSuchAsAMessageBox) {
    running = true;
    PostMessageW(other, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(takeFromQueue(other), static_cast<UINT>(WM_KEYDOWN));
}

TEST_F(RunInputFilterTest, KeepsMessagesThatAreNotInput) {
    running = true;
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(takeFromQueue(main), static_cast<UINT>(WM_CLOSE));
}

}  // namespace
}  // namespace tav::app::win

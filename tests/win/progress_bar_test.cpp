// The bar ends at the range and position asked for, and it comes to the
// position from above, the direction Windows draws at once.
#include "app/win/progress_bar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace tav::app::win {
namespace {

// Every position the bar took, read after each message that can move it.
class BarWatch {
  public:
    explicit BarWatch(HWND bar) : bar_(bar) {
        SetWindowSubclass(bar_, &BarWatch::onMessage, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    BarWatch(const BarWatch&) = delete;
    BarWatch& operator=(const BarWatch&) = delete;
    ~BarWatch() { RemoveWindowSubclass(bar_, &BarWatch::onMessage, 0); }

    const std::vector<LRESULT>& positions() const { return positions_; }

  private:
    static LRESULT CALLBACK onMessage(HWND bar, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
        const LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
        if (message == PBM_SETPOS || message == PBM_SETRANGE32 || message == PBM_SETRANGE) {
            auto* watch = reinterpret_cast<BarWatch*>(self);
            const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
            if (watch->positions_.empty() || watch->positions_.back() != position) {
                watch->positions_.push_back(position);
            }
        }
        return result;
    }

    HWND bar_;
    std::vector<LRESULT> positions_;
};

class ProgressAtOnceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override { ASSERT_NE(bar, nullptr); }
    void TearDown() override { DestroyWindow(bar); }

    int position() const { return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }
    int rangeEnd(BOOL low) const {
        return static_cast<int>(SendMessageW(bar, PBM_GETRANGE, static_cast<WPARAM>(low), 0));
    }

    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
};

TEST_F(ProgressAtOnceTest, ComesDownToAPositionBelowTheTop) {
    setProgressAtOnce(bar, 0, 10, 3);
    BarWatch watch(bar);
    setProgressAtOnce(bar, 0, 10, 4);
    EXPECT_EQ(position(), 4);
    EXPECT_EQ(rangeEnd(TRUE), 0);
    EXPECT_EQ(rangeEnd(FALSE), 10);
    ASSERT_GE(watch.positions().size(), 2u);
    EXPECT_GT(watch.positions().end()[-2], 4) << "the bar rose to 4 and would glide there";
}

TEST_F(ProgressAtOnceTest, ReachesTheTopFromAboveAndKeepsTheRange) {
    setProgressAtOnce(bar, 0, 10, 9);
    BarWatch watch(bar);
    setProgressAtOnce(bar, 0, 10, 10);
    EXPECT_EQ(position(), 10);
    EXPECT_EQ(rangeEnd(TRUE), 0);
    EXPECT_EQ(rangeEnd(FALSE), 10);
    ASSERT_GE(watch.positions().size(), 2u);
    EXPECT_GT(watch.positions().end()[-2], 10) << "the bar rose to the top and would glide";
}

TEST_F(ProgressAtOnceTest, AnEmptyRangeShowsAnEmptyBar) {
    setProgressAtOnce(bar, 0, 0, 0);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(rangeEnd(FALSE), 0);
}

TEST_F(ProgressAtOnceTest, APositionOutsideTheRangeIsBroughtIntoIt) {
    setProgressAtOnce(bar, 5, 10, 12);
    EXPECT_EQ(position(), 10);
    EXPECT_EQ(rangeEnd(FALSE), 10);
    setProgressAtOnce(bar, 5, 10, 1);
    EXPECT_EQ(position(), 5);
    EXPECT_EQ(rangeEnd(TRUE), 5);
}

}  // namespace
}  // namespace tav::app::win

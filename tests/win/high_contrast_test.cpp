// The about box's black texts stay readable in high contrast.
#include "app/win/high_contrast.h"

#include <gtest/gtest.h>

namespace tav::app::win {
namespace {

TEST(HighContrast, BlackOnlyWhileHighContrastIsOff) {
    constexpr COLORREF white = RGB(255, 255, 255);
    constexpr COLORREF yellow = RGB(255, 255, 0);
    struct Case {
        DWORD flags;
        COLORREF windowText;
        COLORREF expected;
    };
    const Case cases[] = {
        {0, white, RGB(0, 0, 0)},
        {HCF_AVAILABLE | HCF_HOTKEYACTIVE, white, RGB(0, 0, 0)},
        {HCF_HIGHCONTRASTON, white, white},
        {HCF_HIGHCONTRASTON | HCF_AVAILABLE, yellow, yellow},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(blackUnlessHighContrast(c.flags, c.windowText), c.expected)
            << "flags " << c.flags;
    }
}

}  // namespace
}  // namespace tav::app::win

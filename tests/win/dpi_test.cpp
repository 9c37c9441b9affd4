// Where user32 lacks the per-window DPI functions (Windows 10 before 1607),
// the system-wide answers stand in; here they are held against the functions
// they replace, which Wine has, for a window on the system's DPI.
#include "app/win/dpi.h"

#include <gtest/gtest.h>

namespace tav::app::win {
namespace {

constexpr DWORD dialogFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD dialogFrameEx = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;

TEST(SystemWideDpi, IsTheSystemsDpi) {
    EXPECT_EQ(systemWide::dpi(), GetDpiForSystem());
    EXPECT_EQ(systemDpi(), GetDpiForSystem());
}

TEST(SystemWideDpi, FramesAClientAreaAsTheSystemDoesAtItsDpi) {
    const RECT client{10, 20, 467, 92};
    RECT expected = client;
    ASSERT_TRUE(
        AdjustWindowRectExForDpi(&expected, dialogFrame, FALSE, dialogFrameEx, GetDpiForSystem()));
    RECT framed = client;
    ASSERT_TRUE(systemWide::adjustFrame(framed, dialogFrame, dialogFrameEx));
    EXPECT_TRUE(EqualRect(&framed, &expected));
    EXPECT_LT(framed.top, client.top) << "a caption above the client area";
}

TEST(SystemWideDpi, ScalesTheMessageFontToTheWindowsDpi) {
    const UINT dpi = GetDpiForSystem();
    const std::optional<LOGFONTW> atSystemDpi = systemWide::messageFont(dpi);
    const std::optional<LOGFONTW> atTwice = systemWide::messageFont(2 * dpi);
    ASSERT_TRUE(atSystemDpi && atTwice);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_EQ(atSystemDpi->lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_STREQ(atSystemDpi->lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(atTwice->lfHeight, 2 * metrics.lfMessageFont.lfHeight);
    // Where Windows answers for the DPI itself, the answer agrees.
    const std::optional<LOGFONTW> asked = messageFontForDpi(2 * dpi);
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->lfHeight, atTwice->lfHeight);
}

TEST(WindowDpi, IsTheWindowsOwn) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dpiOf(window), GetDpiForWindow(window));
    DestroyWindow(window);
}

}  // namespace
}  // namespace tav::app::win

// The screen density the tool's windows are laid out for, on every Windows 10
// and 11.
//
// Windows 10 version 1607 brought the per-window DPI functions
// (GetDpiForWindow, GetDpiForSystem, AdjustWindowRectExForDpi,
// SystemParametersInfoForDpi). Versions 1507 and 1511 lack them, and a
// program that imports them does not start there at all. So they are looked
// up in user32 at run time, and where they are missing the system-wide
// answers stand in: the screen's DPI for every window, the frame Windows
// draws at that DPI, and the system's font scaled to the window's DPI (which
// WM_DPICHANGED still reports there).
#pragma once

#include <windows.h>

#include <optional>

namespace tav::app::win {

// The system's DPI, the one windows are created at.
UINT systemDpi();
// The DPI of the screen `window` is on.
UINT dpiOf(HWND window);
// Grows `client` (window coordinates) to the window rectangle around it, for a
// window of these styles without a menu, at `dpi`. False when Windows fails.
bool adjustFrameForDpi(RECT& client, DWORD style, DWORD exStyle, UINT dpi);
// The font of message boxes, which dialogs use, at `dpi`; empty when Windows
// cannot say.
std::optional<LOGFONTW> messageFontForDpi(UINT dpi);

// What stands in where user32 lacks the per-window functions; here so that
// tests can hold them against the functions they replace.
namespace systemWide {
UINT dpi();
bool adjustFrame(RECT& client, DWORD style, DWORD exStyle);
std::optional<LOGFONTW> messageFont(UINT dpi);
}  // namespace systemWide

}  // namespace tav::app::win

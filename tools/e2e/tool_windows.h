// What the tool's windows must look like, checked from outside: the main
// window, the about box and a message box, at the DPI the prefix gives.
#pragma once

#include <windows.h>

#include <string>

#include "tools/e2e/checks.h"

namespace tav::e2e {

inline const wchar_t* const mainTitle = L"Match ASM and Part Colors";
// The main window's title while one call has waited long for Solid Edge.
inline const wchar_t* const waitingTitle = L"Match ASM and Part Colors - waiting for Solid Edge";
inline const wchar_t* const aboutTitle = L"About Tavrelmondix";
inline const wchar_t* const messageTitle = L"Tavrelmondix";
// Message boxes are dialogs of the system's class.
inline const wchar_t* const messageBoxClass = L"#32770";
// The notice start-up shows, under the application's title, while a call to
// Solid Edge has waited long.
inline const wchar_t* const startUpNoticeText = L"Waiting for Solid Edge\u2026";

// The main window's controls, found by what they show.
struct MainControls {
    HWND process = nullptr;
    HWND exit = nullptr;
    HWND help = nullptr;
    HWND viewLine = nullptr;
    HWND partLine = nullptr;
    HWND progressBar = nullptr;
};
MainControls findMainControls(HWND main);

// The window as start-up leaves it: frame, client size, every control's
// class, text, place and style, tab order, focus on Process.
void checkMainWindow(Checks& checks, HWND main, int dpi);
// Tab walks Process, Exit, Help and back to Process.
void checkTabOrder(Checks& checks, HWND main);

// The about box as it opens: owner, place on the screen, controls, texts,
// default button and focus, the separator lines.
void checkAboutBox(Checks& checks, HWND about, HWND main, int dpi);

// The start-up notice among the process's windows: titled as the tool, not
// a message box, showing the notice's text. Null when none is on the screen.
HWND findStartUpNotice(DWORD processId);

// A message box: the title, OK only, no icon, owned by `owner` (null when the
// main window is not on the screen), in the topmost band or not. Returns its
// text.
std::wstring checkMessageBox(Checks& checks, HWND box, HWND owner, bool topmost);
HWND messageBoxOkButton(HWND box);

}  // namespace tav::e2e

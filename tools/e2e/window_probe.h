// Reading and pressing another program's windows as a user's tools would:
// texts read without asking the program (InternalGetWindowText), focus from
// the system (GetGUIThreadInfo), presses and keys posted, never sent, so a
// press that starts work or shows a message box never blocks the driver.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tav::e2e {

std::wstring classOf(HWND window);
std::wstring textOf(HWND window);
// The window's rectangle in its parent's client coordinates (in screen
// coordinates for a top-level window).
RECT rectInParent(HWND window);
// The client area's top-left corner on the screen and its size.
RECT clientOnScreen(HWND window);

std::vector<HWND> childrenInZOrder(HWND parent);
// The visible top-level windows of process `processId`.
std::vector<HWND> topLevelWindows(DWORD processId);
// The visible top-level window of the process with this title (and this
// class, when one is given), or null.
HWND findWindow(DWORD processId, const std::wstring& title, const std::wstring& className = {});
// The control with the input focus in `window`'s thread, or null.
HWND focusOf(HWND window);

// A message the program answers within `milliseconds`; false when it did not.
bool askWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD milliseconds,
               LRESULT& answer);

void postClick(HWND button);
// A key pressed and released on `window` (the control with the focus).
void postKey(HWND window, WORD virtualKey);
// A mouse click in the middle of `window`, as input.
void postMouseClick(HWND window);

}  // namespace tav::e2e

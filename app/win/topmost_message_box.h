// A message box in the topmost band and brought to the foreground, for a
// message that must never sit behind another program's window.
//
// MB_SETFOREGROUND | MB_TOPMOST ask for it, but not every Windows keeps the
// second: Wine 8 shows the box outside the topmost band. So while the box is
// shown, a hook on the thread puts the box into the band itself once the box
// has been initialised, before it is first drawn.
#pragma once

#include <windows.h>

namespace tav::app::win {

// MessageBoxW with `flags` | MB_SETFOREGROUND | MB_TOPMOST; its answer.
int showTopmostMessageBox(HWND owner, const wchar_t* text, const wchar_t* title, UINT flags);

}  // namespace tav::app::win

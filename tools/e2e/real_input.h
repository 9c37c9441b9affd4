// Keys and clicks as the user's keyboard and mouse make them (SendInput),
// unlike the posted messages of window_probe.h: they go to the foreground
// window's thread and wait in its queue until that thread takes them, and a
// key goes to whichever window has the focus at that moment.
#pragma once

#include <windows.h>

namespace tav::e2e {

// Makes `window` the foreground window; false when it is not within two
// seconds.
bool bringToFront(HWND window);

// A key pressed and released, with Shift held around it when `shifted`.
// False when Windows took fewer than all of the events.
bool typeKey(WORD virtualKey, bool shifted = false);

// The left button pressed and released over the middle of `window`.
bool clickMiddleOf(HWND window);

}  // namespace tav::e2e

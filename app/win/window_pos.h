// The window's place in the z-order: into the topmost band and out again.
//
// Both read the window's rectangle and hand it back to SetWindowPos, so the
// window keeps its place and size; a width or height that does not fit in 32
// bits raises "Overflow" before anything moves.
#pragma once

#include <windows.h>

namespace tav::app::win {

// Puts the window above every window that is not topmost.
void setTopmost(HWND window);
// Takes the window out of the topmost band, to the top of the others.
void clearTopmost(HWND window);

}  // namespace tav::app::win

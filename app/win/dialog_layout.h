// Building and laying out a window of fixed-size controls in twips, the way a
// dialog is: the system's dialog font, controls created in tab order, and
// every place converted with the window's own DPI (the program is per-monitor
// aware, so a move to a denser screen lays the window out again).
#pragma once

#include <windows.h>

#include <span>

#include "app/win/twips.h"
#include "platform/win/unique_resource.h"

namespace tav::app::win {

// One control of such a window: what is created, and where it sits.
struct DialogControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    TwipsRect place;
};

// The font the system uses for dialogs and message boxes, at one DPI.
class DialogFont {
  public:
    // Replaces the font by the one for `dpi`, `smallerBy` pixels less high.
    void load(UINT dpi, int smallerBy = 0);
    HFONT handle() const { return font_.get(); }

  private:
    platform::UniqueFont font_;
};

// Creates the controls as children of `parent`, in the order given (which is
// their tab order); placeControls gives them their places and font.
void createControls(HWND parent, std::span<const DialogControl> controls);

// Moves and sizes every control to its place at `dpi`, and gives it `font`.
void placeControls(HWND parent, std::span<const DialogControl> controls, HFONT font, UINT dpi);

// The window rectangle whose client area is `client` (twips) at `dpi`, for a
// window of the given styles, with the client's top-left corner at
// `clientOrigin` (pixels).
RECT frameAroundClient(POINT clientOrigin, TwipsRect client, DWORD style, DWORD exStyle, UINT dpi);

// Whether every wrapping text control of `controls` shows its whole text
// with `font` at `dpi`.
bool textsFit(HWND parent, std::span<const DialogControl> controls, HFONT font, UINT dpi);

// Pixels of a twips rectangle at `dpi`.
RECT pixelsOf(TwipsRect place, UINT dpi);

}  // namespace tav::app::win

// A window that behaves as a dialog: fixed controls laid out in twips at the
// window's own DPI, focus that comes back to the control that had it. Both of
// the tool's windows are one; the two messages they answer alike are answered
// here:
//  - WM_ACTIVATE: deactivated, the window remembers the control with the
//    focus; activated again, it gives the focus back to it, or to its first
//    control when that one is gone;
//  - WM_DPICHANGED (the window moved to a screen of another density): the
//    window goes where Windows suggests, keeps its client area's size in
//    twips, and lays its font and controls out again at the new DPI.
#pragma once

#include <windows.h>

#include "app/win/twips.h"
#include "app/win/window.h"

namespace tav::app::win {

// A dialog's frame: its client area in twips and its window styles.
struct DialogFrame {
    TwipsRect clientArea;
    DWORD style;
    DWORD exStyle;
};

class DialogWindow : public Window {
  protected:
    // `firstControl`: the id of the control that takes the focus first.
    DialogWindow(const DialogFrame& frame, int firstControl)
        : frame_(frame), firstControl_(firstControl) {}

    // The window rectangle around the client area at `dpi`, with the client
    // area's top-left corner at `clientOrigin` (pixels).
    RECT frameAt(POINT clientOrigin, UINT dpi) const;
    // The DPI the window is laid out for.
    UINT dpi() const { return dpi_; }
    // Once the window and its controls exist: takes the DPI of the screen
    // the window is on (which may not be the one it was created at), sizes
    // the frame where it is for that DPI and lays the controls out with
    // applyDpi.
    void layOutAtOwnDpi();
    void focusFirstControl();

    // Gives the window its font for `dpi` and puts every control in place;
    // the frame has its size for `dpi` already.
    virtual void applyDpi(UINT dpi) = 0;

    // WM_ACTIVATE and WM_DPICHANGED; every other message goes to Window.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void onActivate(WPARAM state);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    DialogFrame frame_;
    int firstControl_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND focusBeforeDeactivation_ = nullptr;
};

}  // namespace tav::app::win

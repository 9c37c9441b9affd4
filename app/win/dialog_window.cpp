#include "app/win/dialog_window.h"

#include "app/win/dialog_layout.h"
#include "app/win/dpi.h"

namespace tav::app::win {

RECT DialogWindow::frameAt(POINT clientOrigin, UINT dpi) const {
    return frameAroundClient(clientOrigin, frame_.clientArea, frame_.style, frame_.exStyle, dpi);
}

void DialogWindow::layOutAtOwnDpi() {
    dpi_ = dpiOf(handle());
    const RECT frame = frameAt(POINT{0, 0}, dpi_);
    SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi_);
}

void DialogWindow::focusFirstControl() {
    SetFocus(GetDlgItem(handle(), firstControl_));
}

LRESULT DialogWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            onActivate(wParam);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            return Window::handleMessage(message, wParam, lParam);
    }
}

void DialogWindow::onActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        focusBeforeDeactivation_ = GetFocus();
        return;
    }
    // The control that had the focus may have gone, or the focus may have
    // been outside the window: then the first control takes it, as in a
    // dialog that opens.
    HWND focus = focusBeforeDeactivation_;
    if (focus == nullptr || IsChild(handle(), focus) == FALSE) {
        focus = GetDlgItem(handle(), firstControl_);
    }
    SetFocus(focus);
}

void DialogWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    // Windows' suggestion places the window on the new screen; its size is
    // the client area's in twips, which the suggestion (the old size scaled)
    // may miss by a rounding.
    dpi_ = dpi;
    const RECT frame = frameAt(POINT{0, 0}, dpi);
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi);
    // Whatever the window paints itself is drawn again at the new DPI.
    InvalidateRect(handle(), nullptr, TRUE);
}

}  // namespace tav::app::win

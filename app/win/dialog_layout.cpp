#include "app/win/dialog_layout.h"

#include <optional>

#include "app/win/dpi.h"
#include "platform/win/device_context.h"

namespace tav::app::win {
namespace {

int pixels(int twips, UINT dpi) {
    return twipsToPixels(twips, static_cast<int>(dpi));
}

}  // namespace

void DialogFont::load(UINT dpi, int smallerBy) {
    std::optional<LOGFONTW> messageFont = messageFontForDpi(dpi);
    if (!messageFont) {
        return;  // Windows' stock font stays
    }
    LONG& height = messageFont->lfHeight;
    height += height < 0 ? smallerBy : -smallerBy;
    if (HFONT font = CreateFontIndirectW(&*messageFont)) {
        font_.reset(font);
    }
}

RECT pixelsOf(TwipsRect place, UINT dpi) {
    const int left = pixels(place.left, dpi);
    const int top = pixels(place.top, dpi);
    return RECT{left, top, left + pixels(place.width, dpi), top + pixels(place.height, dpi)};
}

void createControls(HWND parent, std::span<const DialogControl> controls) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (const DialogControl& control : controls) {
        CreateWindowExW(
            0, control.className, control.text, WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    }
}

void placeControls(HWND parent, std::span<const DialogControl> controls, HFONT font, UINT dpi) {
    for (const DialogControl& control : controls) {
        HWND child = GetDlgItem(parent, control.id);
        if (child == nullptr) {
            continue;
        }
        const RECT place = pixelsOf(control.place, dpi);
        SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (font != nullptr) {
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
}

bool textsFit(HWND parent, std::span<const DialogControl> controls, HFONT font, UINT dpi) {
    const platform::WindowDc dc(parent);
    const platform::SelectedObject selected(dc.get(), font);
    bool fit = true;
    for (const DialogControl& control : controls) {
        const bool wraps = lstrcmpiW(control.className, L"STATIC") == 0 &&
                           (control.style & SS_TYPEMASK) == SS_LEFT;
        if (!wraps) {
            continue;
        }
        wchar_t text[1024] = {};
        GetDlgItemTextW(parent, control.id, text, 1024);
        const RECT place = pixelsOf(control.place, dpi);
        RECT needed{0, 0, place.right - place.left, 0};
        DrawTextW(dc.get(), text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        fit = fit && needed.bottom <= place.bottom - place.top &&
              needed.right <= place.right - place.left;
    }
    return fit;
}

RECT frameAroundClient(POINT clientOrigin, TwipsRect client, DWORD style, DWORD exStyle, UINT dpi) {
    RECT frame{clientOrigin.x, clientOrigin.y, clientOrigin.x + pixels(client.width, dpi),
               clientOrigin.y + pixels(client.height, dpi)};
    adjustFrameForDpi(frame, style, exStyle, dpi);
    return frame;
}

}  // namespace tav::app::win

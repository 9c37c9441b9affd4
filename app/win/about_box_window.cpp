#include "app/win/about_box_window.h"

#include <array>
#include <utility>

#include "app/win/dpi.h"
#include "app/win/resource_ids.h"
#include "platform/win/wide_text.h"

namespace tav::app::win {
namespace {

using platform::wideText;

const wchar_t* const className = L"TavrelmondixAbout";

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr TwipsRect clientArea{2340, 1935, 5625, 4290};  // on the screen

enum ControlId : int {
    cmdOK = IDOK,
    picIcon = 201,
    lblDescription,
    lblTitle,
    lblVersion,
    lblDesc2,
    lblDesc3,
};

constexpr DWORD wrappingLabel = SS_LEFT | SS_NOPREFIX;

// In tab order.
const std::array<ControlSpec, 7> controls{{
    {cmdOK, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {4170, 3855, 1260, 345}},
    {picIcon, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, {240, 240, 540, 540}},
    {lblDescription, L"STATIC", L"", wrappingLabel, {1050, 855, 4395, 405}},
    {lblTitle, L"STATIC", L"", wrappingLabel, {1050, 240, 3885, 240}},
    {lblVersion, L"STATIC", L"", wrappingLabel, {1050, 525, 3885, 225}},
    {lblDesc2, L"STATIC", L"", wrappingLabel, {1050, 1395, 4395, 780}},
    {lblDesc3, L"STATIC", L"", wrappingLabel, {1050, 2340, 4395, 1170}},
}};

// The separator between the texts and OK: a grey line of one pixel with a
// white line of two pixels just below it, in twips of the client area.
struct SeparatorLine {
    int fromX;
    int toX;
    int y;
    int widthInPixels;
    COLORREF color;
};
constexpr std::array<SeparatorLine, 2> separator{{
    {15, 5579, 3675, 1, RGB(128, 128, 128)},
    {30, 5579, 3690, 2, RGB(255, 255, 255)},
}};

int pixels(int twips, UINT dpi) {
    return twipsToPixels(twips, static_cast<int>(dpi));
}

}  // namespace

void AboutBoxWindow::showModal(HINSTANCE instance, HWND owner, const AboutBoxText& about) {
    AboutBoxWindow box;
    if (box.create(instance, owner, about)) {
        box.runModalLoop();
    }
}

bool AboutBoxWindow::create(HINSTANCE instance, HWND owner, const AboutBoxText& about) {
    owner_ = owner;
    dpi_ = owner != nullptr ? dpiOf(owner) : systemDpi();
    const POINT origin{pixels(clientArea.left, dpi_), pixels(clientArea.top, dpi_)};
    CreateArgs args;
    args.instance = instance;
    args.className = className;
    args.title = L"";
    args.style = style;
    args.exStyle = exStyle;
    const RECT frame = frameAroundClient(origin, clientArea, style, exStyle, dpi_);
    args.x = frame.left;
    args.y = frame.top;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    args.owner = owner;
    if (!Window::create(args)) {
        return false;
    }
    // The box's own DPI may differ from the owner's on another screen.
    dpi_ = dpiOf(handle());
    createControls(handle(), controls, nullptr);

    // Loading the box: title, version line, application title.
    SetWindowTextW(handle(), wideText(about.title).c_str());
    SetDlgItemTextW(handle(), lblVersion, wideText(about.versionLine).c_str());
    SetDlgItemTextW(handle(), lblTitle, wideText(about.appTitle).c_str());
    SetDlgItemTextW(handle(), lblDescription, wideText(about.description).c_str());
    SetDlgItemTextW(handle(), lblDesc2, wideText(about.description2).c_str());
    SetDlgItemTextW(handle(), lblDesc3, wideText(about.description3).c_str());
    loadFittingFont(dpi_);
    layOut(dpi_);
    return true;
}

void AboutBoxWindow::runModalLoop() {
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    open_ = true;
    ShowWindow(handle(), SW_SHOW);
    SetFocus(GetDlgItem(handle(), cmdOK));

    MSG message{};
    bool quit = false;
    while (open_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (IsDialogMessageW(handle(), &message) == FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (open_) {
        close();
    }
    if (quit) {
        // The loop that owns the program must see it too.
        PostQuitMessage(static_cast<int>(message.wParam));
    }
}

void AboutBoxWindow::close() {
    open_ = false;
    // The owner is enabled before the box goes, so that it is activated next.
    if (owner_ != nullptr) {
        EnableWindow(owner_, TRUE);
    }
    if (handle() != nullptr) {
        DestroyWindow(handle());
    }
    icon_.reset();
}

void AboutBoxWindow::loadFittingFont(UINT dpi) {
    // The system's dialog font; where it is wider than the one the box was
    // laid out for, a pixel or two smaller, so that no text is cut off.
    constexpr int mostPixelsSmaller = 3;
    for (int smallerBy = 0; smallerBy <= mostPixelsSmaller; ++smallerBy) {
        font_.load(dpi, smallerBy);
        if (textsFit(handle(), controls, font_.handle(), dpi)) {
            return;
        }
    }
}

void AboutBoxWindow::layOut(UINT dpi) {
    const int iconSize = MulDiv(32, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    platform::UniqueIcon icon(static_cast<HICON>(LoadImageW(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(handle(), GWLP_HINSTANCE)),
        MAKEINTRESOURCEW(TAV_IDI_PROGRAM), IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
    if (icon) {
        // The control shows the icon it is given without owning it.
        SendDlgItemMessageW(handle(), picIcon, STM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(icon.get()));
        icon_ = std::move(icon);
    }
    placeControls(handle(), controls, font_.handle(), dpi);
}

LRESULT AboutBoxWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            close();
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(cmdOK, DC_HASDEFID);
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ACTIVATE:
            onActivate(wParam);
            return 0;
        case WM_CTLCOLORSTATIC: {
            // The title and the first description are black, whatever the
            // system's text colour.
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id == lblTitle || id == lblDescription) {
                auto* dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB(0, 0, 0));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(handle(), nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            onDpiChanged(HIWORD(wParam));
            return 0;
        }
        default:
            break;
    }
    return Window::handleMessage(message, wParam, lParam);
}

void AboutBoxWindow::onCommand(int id) {
    if (id == cmdOK || id == IDCANCEL) {
        close();
    }
}

void AboutBoxWindow::onPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle(), &paint);
    for (const SeparatorLine& line : separator) {
        const int top = pixels(line.y, dpi_);
        const RECT rect{pixels(line.fromX, dpi_), top, pixels(line.toX, dpi_) + 1,
                        top + line.widthInPixels};
        const platform::UniqueBrush brush(CreateSolidBrush(line.color));
        FillRect(dc, &rect, brush.get());
    }
    EndPaint(handle(), &paint);
}

void AboutBoxWindow::onDpiChanged(UINT dpi) {
    dpi_ = dpi;
    loadFittingFont(dpi);
    layOut(dpi);
    InvalidateRect(handle(), nullptr, TRUE);
}

void AboutBoxWindow::onActivate(WPARAM state) {
    // Focus comes back to the control that had it, as in any dialog.
    if (LOWORD(state) == WA_INACTIVE) {
        focusBeforeDeactivation_ = GetFocus();
    } else {
        HWND focus = focusBeforeDeactivation_ != nullptr ? focusBeforeDeactivation_
                                                         : GetDlgItem(handle(), cmdOK);
        if (IsChild(handle(), focus) != FALSE) {
            SetFocus(focus);
        }
    }
}

}  // namespace tav::app::win

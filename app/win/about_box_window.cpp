#include "app/win/about_box_window.h"

#include <array>
#include <utility>

#include "app/win/dpi.h"
#include "app/win/high_contrast.h"
#include "app/win/resource_ids.h"
#include "app/win/window_layouts.h"
#include "platform/win/wide_text.h"

namespace tav::app::win {
namespace {

using platform::wideText;

const wchar_t* const className = L"TavrelmondixAbout";

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr DialogFrame frame{layout::aboutBox::clientArea, style, exStyle};

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
const std::array<DialogControl, 7> controls{{
    {cmdOK, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, layout::aboutBox::cmdOK},
    {picIcon, L"STATIC", L"", SS_ICON | SS_CENTERIMAGE, layout::aboutBox::picIcon},
    {lblDescription, L"STATIC", L"", wrappingLabel, layout::aboutBox::lblDescription},
    {lblTitle, L"STATIC", L"", wrappingLabel, layout::aboutBox::lblTitle},
    {lblVersion, L"STATIC", L"", wrappingLabel, layout::aboutBox::lblVersion},
    {lblDesc2, L"STATIC", L"", wrappingLabel, layout::aboutBox::lblDesc2},
    {lblDesc3, L"STATIC", L"", wrappingLabel, layout::aboutBox::lblDesc3},
}};

// The separator between the texts and OK, with its colours.
const std::array<std::pair<layout::aboutBox::SeparatorLine, COLORREF>, 2> separator{{
    {layout::aboutBox::separatorGrey, RGB(128, 128, 128)},
    {layout::aboutBox::separatorWhite, RGB(255, 255, 255)},
}};

int pixels(int twips, UINT dpi) {
    return twipsToPixels(twips, static_cast<int>(dpi));
}

}  // namespace

AboutBoxWindow::AboutBoxWindow() : DialogWindow(frame, cmdOK) {}

void AboutBoxWindow::showModal(HINSTANCE instance, HWND owner, const AboutBoxText& about) {
    AboutBoxWindow box;
    if (box.create(instance, owner, about)) {
        box.runModalLoop();
    }
}

bool AboutBoxWindow::create(HINSTANCE instance, HWND owner, const AboutBoxText& about) {
    owner_ = owner;
    const UINT ownerDpi = owner != nullptr ? dpiOf(owner) : systemDpi();
    const POINT origin{pixels(frame.clientArea.left, ownerDpi),
                       pixels(frame.clientArea.top, ownerDpi)};
    const RECT created = frameAt(origin, ownerDpi);
    CreateArgs args;
    args.instance = instance;
    args.className = className;
    args.title = L"";
    args.style = style;
    args.exStyle = exStyle;
    args.x = created.left;
    args.y = created.top;
    args.width = created.right - created.left;
    args.height = created.bottom - created.top;
    args.owner = owner;
    if (!Window::create(args)) {
        return false;
    }
    createControls(handle(), controls);
    highContrastFlags_ = highContrastFlags();

    // Loading the box: title, version line, application title.
    SetWindowTextW(handle(), wideText(about.title).c_str());
    SetDlgItemTextW(handle(), lblVersion, wideText(about.versionLine).c_str());
    SetDlgItemTextW(handle(), lblTitle, wideText(about.appTitle).c_str());
    SetDlgItemTextW(handle(), lblDescription, wideText(about.description).c_str());
    SetDlgItemTextW(handle(), lblDesc2, wideText(about.description2).c_str());
    SetDlgItemTextW(handle(), lblDesc3, wideText(about.description3).c_str());
    // The font is chosen to fit these texts. The box's own DPI may differ
    // from the owner's on another screen: its frame is sized again for it.
    layOutAtOwnDpi();
    return true;
}

void AboutBoxWindow::runModalLoop() {
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    open_ = true;
    ShowWindow(handle(), SW_SHOW);
    focusFirstControl();

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

void AboutBoxWindow::applyDpi(UINT dpi) {
    loadFittingFont(dpi);
    placeIcon(dpi);
    placeControls(handle(), controls, font_.handle(), dpi);
}

void AboutBoxWindow::placeIcon(UINT dpi) {
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
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) {
                onColoursChanged();
            }
            break;
        case WM_SYSCOLORCHANGE:
            onColoursChanged();
            break;
        case WM_CTLCOLORSTATIC: {
            // The title and the first description are black, whatever the
            // system's text colour, except in high contrast.
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id == lblTitle || id == lblDescription) {
                auto* dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(
                    dc, blackUnlessHighContrast(highContrastFlags_, GetSysColor(COLOR_WINDOWTEXT)));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        default:
            break;
    }
    return DialogWindow::handleMessage(message, wParam, lParam);
}

void AboutBoxWindow::onColoursChanged() {
    highContrastFlags_ = highContrastFlags();
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void AboutBoxWindow::onCommand(int id) {
    if (id == cmdOK || id == IDCANCEL) {
        close();
    }
}

void AboutBoxWindow::onPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle(), &paint);
    for (const auto& [line, color] : separator) {
        const int top = pixels(line.y, dpi());
        const RECT rect{pixels(line.fromX, dpi()), top, pixels(line.toX, dpi()) + 1,
                        top + line.heightInPixels};
        const platform::UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc, &rect, brush.get());
    }
    EndPaint(handle(), &paint);
}

}  // namespace tav::app::win

#include "app/win/start_up_notice.h"

#include <array>
#include <string>

#include "app/about_box.h"
#include "app/win/dpi.h"
#include "app/win/resource_ids.h"
#include "app/win/window_layouts.h"
#include "platform/win/wide_text.h"

namespace tav::app::win {
namespace {

const wchar_t* const className = L"TavrelmondixStartUpNotice";

// A caption without a window menu: nothing to close it with.
constexpr DWORD style = WS_POPUP | WS_CAPTION;
constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;

constexpr DialogFrame frame{layout::startUpNotice::clientArea, style, exStyle};

constexpr int noticeText = 301;

const std::array<DialogControl, 1> controls{{
    {noticeText, L"STATIC", startUpNoticeText, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
     layout::startUpNotice::text},
}};

}  // namespace

StartUpNotice::StartUpNotice() : DialogWindow(frame, noticeText) {}

bool StartUpNotice::show(HINSTANCE instance) {
    const RECT created = frameAt(POINT{0, 0}, systemDpi());
    const std::wstring title = platform::wideText(applicationTitle);
    CreateArgs args;
    args.instance = instance;
    args.className = className;
    args.title = title.c_str();
    args.style = style;
    args.exStyle = exStyle;
    args.x = 0;
    args.y = 0;
    args.width = created.right - created.left;
    args.height = created.bottom - created.top;
    // The program's icon on the notice's button in the task bar.
    args.icon = LoadIconW(instance, MAKEINTRESOURCEW(TAV_IDI_PROGRAM));
    if (!create(args)) {
        return false;
    }
    createControls(handle(), controls);
    layOutAtOwnDpi();
    centreOnWorkingScreen();
    // Solid Edge may be showing a dialog that the user must answer: the
    // notice comes to the top without taking the focus.
    ShowWindow(handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(handle());
    return true;
}

void StartUpNotice::applyDpi(UINT dpi) {
    font_.load(dpi);
    placeControls(handle(), controls, font_.handle(), dpi);
}

void StartUpNotice::centreOnWorkingScreen() {
    // The screen of the window in front (Solid Edge's, or the one the tool
    // was started from).
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY),
                        &monitor) == FALSE) {
        return;
    }
    RECT window{};
    GetWindowRect(handle(), &window);
    const RECT& area = monitor.rcWork;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tav::app::win

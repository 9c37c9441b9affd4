#include "app/win/win32_main_window.h"

#include <commctrl.h>

#include <array>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "app/win/about_box_window.h"
#include "app/win/dpi.h"
#include "app/win/progress_bar.h"
#include "app/win/resource_ids.h"
#include "app/win/session_instance.h"
#include "app/win/topmost_message_box.h"
#include "app/win/user_input.h"
#include "app/win/window_layouts.h"
#include "app/win/window_pos.h"
#include "engine/error_modes.h"
#include "platform/win/wide_text.h"

namespace tav::app::win {
namespace {

const wchar_t* const title = L"Match ASM and Part Colors";
const wchar_t* const waitingTitle = L"Match ASM and Part Colors - waiting for Solid Edge";

// The heartbeat's pulse (app/win/heartbeat.h).
constexpr UINT heartbeatMessage = WM_APP + 1;
constexpr std::chrono::milliseconds heartbeatInterval{500};

// A fixed dialog frame with the window menu and close box, no minimise or
// maximise box, shown in the task bar.
constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

constexpr DialogFrame frame{layout::mainWindow::clientArea, style, exStyle};

// Not IDOK or IDCANCEL: no button has a default or cancel role.
enum ControlId : int {
    cmdAccept = 101,
    cmdCancel,
    pb,
    lblPieza,
    lblVista,
    cmdHelp,
};

constexpr DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
// One line each; an ampersand in a part's name is shown as it is.
constexpr DWORD statusLine = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

// In tab order: Process, Exit, then the bar and labels (no tab stops), Help.
const std::array<DialogControl, 6> controls{{
    {cmdAccept, L"BUTTON", L"Process", button, layout::mainWindow::cmdAccept},
    {cmdCancel, L"BUTTON", L"Exit", button, layout::mainWindow::cmdCancel},
    {pb, PROGRESS_CLASSW, L"", 0, layout::mainWindow::pb},
    {lblPieza, L"STATIC", L"", statusLine, layout::mainWindow::lblPieza},
    {lblVista, L"STATIC", L"", statusLine, layout::mainWindow::lblVista},
    {cmdHelp, L"BUTTON", L"Help", button, layout::mainWindow::cmdHelp},
}};

int labelId(engine::StatusLine line) {
    return line == engine::StatusLine::view ? lblVista : lblPieza;
}

// The bar shows whole steps; the values behind it stay in single precision.
int barPosition(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const float bounded = std::fmax(-2.0e9f, std::fmin(value, 2.0e9f));
    return static_cast<int>(std::lround(bounded));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance)
    : DialogWindow(frame, cmdAccept), instance_(instance) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&commonControls);

    const RECT created = frameAt(POINT{0, 0}, systemDpi());
    CreateArgs args;
    args.instance = instance;
    args.className = windowClassName;
    args.title = title;
    args.style = style;
    args.exStyle = exStyle;
    args.width = created.right - created.left;
    args.height = created.bottom - created.top;
    args.icon = LoadIconW(instance, MAKEINTRESOURCEW(TAV_IDI_PROGRAM));
    if (!create(args)) {
        throw std::runtime_error("the main window could not be created");
    }
    createControls(handle(), controls);
    layOutAtOwnDpi();
    // Start-up and a run take no input (Form1 would act on none of it).
    inputFilter_ = std::make_unique<RunInputFilter>(
        handle(), [this] { return form_ != nullptr && !form_->idle(); });
}

void Win32MainWindow::attach(Form1& form) {
    form_ = &form;
}

void Win32MainWindow::show(int showCommand) {
    endStartUp();
    ShowWindow(handle(), showCommand);
    UpdateWindow(handle());
    focusFirstControl();
    if (comeForwardWhenShown_) {
        comeForward();
    }
}

void Win32MainWindow::endStartUp() {
    startUpOver_ = true;
    startUpNotice_.reset();
}

void Win32MainWindow::comeForward() {
    if (!startUpOver_) {
        comeForwardWhenShown_ = true;
        return;
    }
    if (IsIconic(handle()) != FALSE) {
        ShowWindow(handle(), SW_RESTORE);
    }
    // The about box or a message box, when one is open, is what the user
    // must answer first.
    SetForegroundWindow(GetLastActivePopup(handle()));
}

void Win32MainWindow::setHeartbeat(std::function<void()> heartbeat) {
    heartbeat_ = std::move(heartbeat);
    pulse_ = std::make_unique<Heartbeat>(handle(), heartbeatMessage, heartbeatInterval);
}

void Win32MainWindow::showWaitingForHost(bool waiting) {
    if (startUpOver_) {
        SetWindowTextW(handle(), waiting ? waitingTitle : title);
        return;
    }
    if (waiting && !startUpNotice_) {
        auto notice = std::make_unique<StartUpNotice>();
        if (notice->show(instance_)) {
            startUpNotice_ = std::move(notice);
        }
    }
}

bool Win32MainWindow::handleDialogKey(MSG& message) {
    return handle() != nullptr && IsDialogMessageW(handle(), &message) != FALSE;
}

void Win32MainWindow::applyDpi(UINT dpi) {
    font_.load(dpi);
    placeControls(handle(), controls, font_.handle(), dpi);
}

void Win32MainWindow::setCaption(engine::StatusLine line, std::u16string_view text) {
    shown_.setCaption(line, text);
    HWND control = GetDlgItem(handle(), labelId(line));
    SetWindowTextW(control, platform::wideText(text).c_str());
    UpdateWindow(control);
}

std::u16string Win32MainWindow::caption(engine::StatusLine line) const {
    return shown_.caption(line);
}

void Win32MainWindow::setProgressMin(float value) {
    shown_.setProgressMin(value);
    showProgress();
}

void Win32MainWindow::setProgressMax(float value) {
    shown_.setProgressMax(value);
    showProgress();
}

void Win32MainWindow::setProgressValue(float value) {
    shown_.setProgressValue(value);
    showProgress();
}

void Win32MainWindow::showProgress() {
    const ProgressBarState& progress = shown_.progress();
    setProgressAtOnce(GetDlgItem(handle(), pb), barPosition(progress.min),
                      barPosition(progress.max), barPosition(progress.value));
}

void Win32MainWindow::repaint() {
    // Everything changed since the last paint is on the screen when this
    // returns; what did not change is not drawn again (a run repaints once
    // per part, and drawing the whole window each time costs a long run
    // several seconds).
    RedrawWindow(handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    // A look at the queue, taking nothing from it: messages sent to the
    // window are answered and Windows sees the thread alive, so a long run
    // is never shown as "not responding". Input stays where it is (and is
    // dropped when it is taken).
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

void Win32MainWindow::showMessage(std::u16string_view text) {
    // Owned by the main window once it is on the screen; before that (a
    // start-up refusal) a hidden owner would keep the box from being shown.
    HWND owner = !closing_ && IsWindowVisible(handle()) != FALSE ? handle() : nullptr;
    // A start-up refusal ends start-up: the notice that it waited goes first.
    endStartUp();
    const std::wstring message = platform::wideText(text);
    const std::wstring boxTitle = platform::wideText(applicationTitle);
    if (form_ == nullptr || !form_->runInProgress()) {
        // A start-up refusal: Solid Edge is not held, and the box may stay
        // behind another window like any other.
        MessageBoxW(owner, message.c_str(), boxTitle.c_str(), MB_OK);
        return;
    }
    // An error ends the run with this box: what the user typed or clicked
    // during the run must not answer it.
    discardQueuedUserInput();
    // Solid Edge is held non-interactive until the box is answered: it must
    // never sit behind Solid Edge's window.
    showTopmostMessageBox(owner, message.c_str(), boxTitle.c_str(), MB_OK);
}

void Win32MainWindow::showAbout(const AboutBoxText& about) {
    AboutBoxWindow::showModal(instance_, handle(), about);
}

// Start-up runs these in its tolerant mode: a rectangle that overflows skips
// the call and start-up goes on.
void Win32MainWindow::setTopmost() {
    engine::tolerate([&] { win::setTopmost(handle()); });
}

void Win32MainWindow::clearTopmost() {
    engine::tolerate([&] { win::clearTopmost(handle()); });
}

void Win32MainWindow::closeAll() {
    // No handler of the tool runs from here on; destroying the main window
    // takes every window it owns with it.
    closing_ = true;
    startUpNotice_.reset();
    if (handle() != nullptr) {
        DestroyWindow(handle());
    }
}

bool Win32MainWindow::ignoresButtons() const {
    return closing_ || form_ == nullptr || IsWindowEnabled(handle()) == FALSE;
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == comeForwardMessage()) {
        comeForward();
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case heartbeatMessage:
            if (heartbeat_) {
                heartbeat_();
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DialogWindow::handleMessage(message, wParam, lParam);
    }
}

void Win32MainWindow::onCommand(int id, int notification) {
    if (notification != BN_CLICKED || ignoresButtons()) {
        return;
    }
    // Form1 acts only while idle: a press during a run does nothing.
    switch (id) {
        case cmdAccept:
            if (form_->idle() && beforeRun_) {
                beforeRun_();
            }
            form_->cmdAccept_Click();
            break;
        case cmdCancel:
            form_->cmdCancel_Click();
            break;
        case cmdHelp:
            form_->cmdHelp_Click();
            break;
        default:
            break;
    }
}

void Win32MainWindow::onClose() {
    // The frame's close control. Refused during a run (Form1 says so) and
    // while the about box holds the window disabled.
    if (!ignoresButtons()) {
        form_->closeFromFrame();
    }
}

}  // namespace tav::app::win

// tavrelmondix.exe: the program entry.
//
// One runs per session: a second start brings the running one forward and
// ends (status 0) before it attaches to anything. Otherwise the thread joins
// a single-threaded COM apartment, the main window is made
// (hidden) and Form1 runs its start-up against the running Solid Edge. When
// start-up lets the window appear, the message loop waits for the user; every
// way the program ends goes through ProcessExit, which ends the process at
// once, so the loop's end is reached only if Windows takes the window away
// or a window procedure met an exception (platform/win/exception_barrier.h).
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/lifecycle.h"
#include "app/win/process_exit.h"
#include "app/win/session_instance.h"
#include "app/win/win32_main_window.h"
#include "host/com/apartment.h"
#include "host/com/com_connector.h"
#include "host/error.h"
#include "platform/win/wide_text.h"

namespace {

int cannotStart(const std::wstring& why) {
    MessageBoxW(nullptr, (L"Tavrelmondix cannot start: " + why).c_str(), L"Tavrelmondix", MB_OK);
    return 1;
}

// Start-up's diagnostics go to the debugger's output (DebugView shows them):
// nothing the user sees, but what support asks for first.
void writeDebugLine(std::u16string_view line) {
    OutputDebugStringW((tav::platform::wideText(line) + L"\n").c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    tav::app::win::SessionInstance session;
    if (!session.claim([] {
            return tav::app::win::askRunningWindowForward(
                tav::app::win::Win32MainWindow::windowClassName);
        })) {
        return 0;
    }
    std::unique_ptr<tav::com::Apartment> apartment;
    try {
        apartment = std::make_unique<tav::com::Apartment>();
    } catch (const tav::host::AutomationError& error) {
        return cannotStart(tav::platform::wideText(error.description()));
    }
    tav::com::ComConnector connector(apartment->calls());
    tav::app::win::ProcessExit exit(connector, *apartment);
    std::unique_ptr<tav::app::win::Win32MainWindow> created;
    try {
        created = std::make_unique<tav::app::win::Win32MainWindow>(instance);
    } catch (const std::runtime_error&) {
        // No desktop to show a window on: nothing was attached yet.
        return cannotStart(L"its window cannot be created.");
    }
    tav::app::win::Win32MainWindow& window = *created;
    // A call that Solid Edge holds (it shows a dialog inside it) is waited
    // out, and the user is told: during start-up by a notice of its own
    // until start-up ends, afterwards by the window's title while the call
    // lasts. The heartbeat runs while the window is still hidden.
    tav::com::CallWatch& calls = apartment->calls();
    calls.setWaitingNotice([&window](bool waiting) { window.showWaitingForHost(waiting); });
    window.setHeartbeat([&calls] { calls.check(); });
    tav::app::Form1 form(connector, window, exit, &writeDebugLine);
    window.attach(form);
    window.setBeforeRun(
        [&form] { tav::com::ComConnector::allowToComeToFront(form.engineState().hostApp); });
    if (!form.Form_Load()) {
        return 0;
    }
    window.show(showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.handleDialogKey(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The status a window procedure's failure asked for (1), else 0.
    return static_cast<int>(message.wParam);
}

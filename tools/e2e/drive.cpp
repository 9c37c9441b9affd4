#include "tools/e2e/drive.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "platform/win/wide_text.h"
#include "tools/e2e/program_file.h"
#include "tools/e2e/real_input.h"
#include "tools/e2e/screen_capture.h"
#include "tools/e2e/tool_windows.h"
#include "tools/e2e/window_probe.h"

namespace tav::e2e {
namespace {

constexpr DWORD boxMilliseconds = 10000;
const std::wstring versionPrefix = L"Version ";
// A second start finds the running program and ends: no COM, no window.
constexpr DWORD secondStartMilliseconds = 10000;

// As Explorer starts a program: no standard streams, no handle of ours.
// Ended at once when the driver goes before it (status 99).
platform::LaunchOptions asExplorerStartsIt() {
    platform::LaunchOptions launch;
    launch.input = launch.output = launch.error = platform::ChildStream::none;
    launch.patienceWhenOwnerGoes = std::chrono::milliseconds(0);
    launch.forcedExitStatus = 99;
    return launch;
}

}  // namespace

Drive::Drive(const DriveOptions& options, Checks& checks) : options_(options), checks_(checks) {}

bool Drive::launch() {
    try {
        program_.emplace(std::vector<std::wstring>{options_.program}, asExplorerStartsIt());
    } catch (const std::runtime_error& error) {
        checks_.fail(error.what());
        return false;
    }
    return true;
}

bool Drive::ended() const {
    return program_->hasEnded();
}

HWND Drive::mainWindow() const {
    if (HWND main = findWindow(program_->id(), mainTitle)) {
        return main;
    }
    return findWindow(program_->id(), waitingTitle);
}

HWND Drive::messageBox() const {
    return findWindow(program_->id(), messageTitle, messageBoxClass);
}

HWND Drive::aboutBox() const {
    return findWindow(program_->id(), aboutTitle);
}

bool Drive::waitUntil(DWORD milliseconds, const std::function<bool()>& done,
                      DWORD pollMilliseconds) const {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(pollMilliseconds);
    }
    return true;
}

void Drive::shoot(const wchar_t* name) {
    if (options_.shots.empty() ||
        std::find(shotsTaken_.begin(), shotsTaken_.end(), name) != shotsTaken_.end()) {
        return;
    }
    shotsTaken_.push_back(name);
    // Let the last repaint reach the screen.
    Sleep(300);
    const std::wstring path = options_.shots + L"\\" + name + L".bmp";
    checks_.expect(saveScreen(path), "picture of the screen: " + platform::utf8Text(path));
}

void Drive::run() {
    checkProgramFile(checks_, options_.program);
    if (!options_.shots.empty()) {
        // The pointer stays where an earlier run left it, perhaps over a
        // button, which would then be drawn hot in every picture.
        SetCursorPos(0, 0);
    }
    if (!launch()) {
        return;
    }
    const DWORD startMs = static_cast<DWORD>(options_.timeoutSeconds) * 1000;
    // Start-up: the main window appears, or a refusal's message box.
    if (!waitUntil(startMs, [&] {
            watchStartUp();
            return ended() || mainWindow() || messageBox();
        })) {
        checks_.fail("neither the main window nor a message appeared");
        return;
    }
    if (HWND main = mainWindow()) {
        mainShown_ = true;
        checkStartUpEnded(main);
        const MainControls controls = findMainControls(main);
        waitUntil(2000, [&] { return focusOf(main) == controls.process; });
        checkMainWindow(checks_, main, options_.dpi);
        shoot(L"main");
        checkTabOrder(checks_, main);
        if (options_.secondStart == "idle") {
            secondStartWhileIdle(main);
        }
    }

    for (const std::string& action : options_.actions) {
        if (ended()) {
            checks_.note("program ended before " + action);
            break;
        }
        if (HWND box = messageBox()) {
            answerMessageBox(box);
            continue;
        }
        HWND main = mainWindow();
        if (main == nullptr) {
            checks_.fail("no main window for " + action);
            break;
        }
        const MainControls controls = findMainControls(main);
        checks_.note("press " + action);
        if (action == "process") {
            pressProcess();
        } else if (action == "exit") {
            postClick(controls.exit);
        } else if (action == "keys-exit") {
            pressKeysExit();
        } else if (action == "help") {
            pressHelp(static_cast<int>(seen_.aboutBoxes.size()));
        } else if (action == "close") {
            PostMessageW(main, WM_CLOSE, 0, 0);
        } else {
            checks_.fail("unknown action " + action);
        }
        if (action != "help") {
            // Every other action ends the program.
            waitForEnd();
        }
    }
    waitForEnd();
    if (ended()) {
        seen_.exitCode = program_->exitStatus();
    }
}

void Drive::watchStartUp() {
    if (seen_.startUpNotice) {
        return;
    }
    HWND notice = findStartUpNotice(program_->id());
    if (notice == nullptr) {
        return;
    }
    seen_.startUpNotice = true;
    checks_.note("the start-up notice appeared");
    checks_.expect(options_.expectStartUpNotice, "a start-up notice only where a call is held");
    checks_.expect(mainWindow() == nullptr, "the start-up notice comes before the main window");
    checks_.expect(GetWindow(notice, GW_OWNER) == nullptr, "the start-up notice has no owner");
    checks_.expect(GetForegroundWindow() != notice, "the start-up notice takes no focus");
    shoot(L"notice");
    if (options_.secondStart == "starting") {
        startSecondTime();
    }
}

void Drive::checkStartUpEnded(HWND main) {
    if (options_.expectStartUpNotice) {
        checks_.expect(seen_.startUpNotice,
                       "the start-up notice showed while start-up waited for Solid Edge");
        checks_.expect(findStartUpNotice(program_->id()) == nullptr,
                       "the start-up notice is gone when the main window appears");
    }
    if (options_.secondStart == "starting") {
        checks_.expect(seen_.secondStartExitCode.has_value(),
                       "started a second time during start-up");
        checks_.expect(waitUntil(5000, [&] { return GetForegroundWindow() == main; }),
                       "the window the second start asked forward is in front once shown");
    }
}

void Drive::startSecondTime() {
    checks_.note("start the program a second time");
    std::optional<platform::ChildProcess> second;
    try {
        second.emplace(std::vector<std::wstring>{options_.program}, asExplorerStartsIt());
    } catch (const std::runtime_error& error) {
        checks_.fail(error.what());
        return;
    }
    const ULONGLONG began = GetTickCount64();
    bool showedWindow = false;
    const bool ended = waitUntil(secondStartMilliseconds, [&] {
        showedWindow = showedWindow || !topLevelWindows(second->id()).empty();
        return second->hasEnded();
    });
    const std::string took = std::to_string(GetTickCount64() - began) + " ms";
    if (!checks_.expect(ended, "a second start ends at once (waited " + took + ")")) {
        return;
    }
    seen_.secondStartExitCode = second->exitStatus();
    checks_.expect(*seen_.secondStartExitCode == 0,
                   "a second start ends with status 0 (" + took + ", status " +
                       std::to_string(*seen_.secondStartExitCode) + ")");
    checks_.expect(!showedWindow, "a second start shows no window");
}

void Drive::secondStartWhileIdle(HWND main) {
    ShowWindowAsync(main, SW_MINIMIZE);
    checks_.expect(waitUntil(2000, [&] { return IsIconic(main) != FALSE; }),
                   "the main window is minimised before the second start");
    startSecondTime();
    checks_.expect(
        waitUntil(5000, [&] { return IsIconic(main) == FALSE && GetForegroundWindow() == main; }),
        "the second start restores the running window and brings it to the front");
}

void Drive::answerMessageBox(HWND box) {
    HWND main = mainWindow();
    // Once the main window has been shown, a message is the error that ends
    // a run, shown while Solid Edge is held: it must never sit behind it.
    // The start-up refusals come before and stay out of the topmost band.
    const std::wstring text = checkMessageBox(checks_, box, main, mainShown_);
    checks_.note("message: " + platform::utf8Text(text));
    seen_.messages.push_back({textOf(box), text});
    shoot(L"message");
    postClick(messageBoxOkButton(box));
    checks_.expect(
        waitUntil(boxMilliseconds,
                  [&] { return IsWindow(box) == FALSE || IsWindowVisible(box) == FALSE; }),
        "OK closes the message box");
}

void Drive::waitForEnd() {
    const DWORD limit = static_cast<DWORD>(options_.timeoutSeconds) * 1000;
    const bool done = waitUntil(limit, [&] {
        if (ended()) {
            return true;
        }
        if (HWND box = messageBox()) {
            answerMessageBox(box);
        }
        if (!mainShown_ && mainWindow() != nullptr) {
            checks_.fail("the main window appeared after a start-up message");
            mainShown_ = true;
        }
        return false;
    });
    checks_.expect(done, "the program ends");
}

void Drive::pressProcess() {
    HWND main = mainWindow();
    const MainControls controls = findMainControls(main);
    if (options_.typeAheadAt.empty()) {
        postClick(controls.process);
    } else if (!startRunByHand(main)) {
        return;
    }
    // The run: sample the window until the program ends, answering the
    // message a fatal error shows.
    const DWORD limit = static_cast<DWORD>(options_.timeoutSeconds) * 1000;
    waitUntil(
        limit,
        [&] {
            if (ended()) {
                return true;
            }
            if (HWND box = messageBox()) {
                if (!options_.typeAheadAt.empty()) {
                    checkBoxStaysOpen(box);
                }
                answerMessageBox(box);
                return false;
            }
            if (HWND about = aboutBox()) {
                checks_.fail("the about box opened during a run");
                PostMessageW(about, WM_CLOSE, 0, 0);
            }
            if (HWND current = mainWindow()) {
                sampleRun(current);
            }
            return false;
        },
        static_cast<DWORD>(options_.sampleMilliseconds));
    if (options_.expectWaiting) {
        checkWaitingTitle();
    }
    checks_.expect(seen_.hungSamples == 0, "never \"not responding\" during the run (" +
                                               std::to_string(seen_.samples) + " samples, " +
                                               std::to_string(seen_.hungSamples) + " hung)");
    if (!options_.typeAheadAt.empty()) {
        checks_.expect(typedAhead_ == options_.typeAheadAt.size(),
                       "typed ahead at every bar position asked for (" +
                           std::to_string(typedAhead_) + " of " +
                           std::to_string(options_.typeAheadAt.size()) + ")");
        checks_.expect(!seen_.messages.empty(), "the error box appeared");
    }
}

bool Drive::startRunByHand(HWND main) {
    const MainControls controls = findMainControls(main);
    if (!checks_.expect(bringToFront(main), "the main window comes to the front")) {
        return false;
    }
    // Typed keys reach the window at all: Tab and Shift+Tab move the focus.
    checks_.expect(
        typeKey(VK_TAB) && waitUntil(2000, [&] { return focusOf(main) == controls.exit; }),
        "a typed Tab moves the focus to Exit");
    checks_.expect(
        typeKey(VK_TAB, true) && waitUntil(2000, [&] { return focusOf(main) == controls.process; }),
        "a typed Shift+Tab moves it back to Process");
    const std::wstring idleCaption = textOf(controls.viewLine);
    return checks_.expect(clickMiddleOf(controls.process) &&
                              waitUntil(boxMilliseconds,
                                        [&] {
                                            return ended() || messageBox() != nullptr ||
                                                   textOf(controls.viewLine) != idleCaption;
                                        }),
                          "a click on Process starts the run");
}

void Drive::typeAhead(HWND main, LRESULT position) {
    const MainControls controls = findMainControls(main);
    checks_.note("during the run, the bar at " + std::to_string(position) +
                 ": type Enter and click Exit");
    checks_.expect(GetForegroundWindow() == main || bringToFront(main),
                   "the main window is in the foreground");
    checks_.expect(typeKey(VK_RETURN) && clickMiddleOf(controls.exit),
                   "Windows takes the typed Enter and the click");
    // Typed into the run, not at the box: else the box would rightly take it.
    checks_.expect(messageBox() == nullptr, "typed before the error box appeared");
}

void Drive::checkWaitingTitle() {
    const auto waiting = std::find(seen_.titles.begin(), seen_.titles.end(), waitingTitle);
    checks_.expect(waiting != seen_.titles.end(),
                   "the title says that the tool waits for Solid Edge while the call is held");
    checks_.expect(waiting != seen_.titles.end() &&
                       std::find(waiting, seen_.titles.end(), mainTitle) != seen_.titles.end(),
                   "the title goes back once the call has returned");
    checks_.expect(disturbed_, "clicks, keys and a close were thrown at the waiting window");
}

void Drive::checkBoxStaysOpen(HWND box) {
    // Keys typed during the run and still queued would go to the box's OK
    // button, which has the focus when they are taken: the tool must have
    // thrown them away, so that the box waits for the user.
    const bool closed = waitUntil(1500, [&] { return IsWindowVisible(box) == FALSE; });
    checks_.expect(!closed, "the error box stays until it is answered");
}

void Drive::sampleRun(HWND main) {
    const MainControls controls = findMainControls(main);
    ++seen_.samples;
    if (IsHungAppWindow(main) != FALSE) {
        ++seen_.hungSamples;
    }
    const std::wstring title = textOf(main);
    if (seen_.titles.empty() || seen_.titles.back() != title) {
        seen_.titles.push_back(title);
    }
    if (options_.expectWaiting && title == waitingTitle && !disturbed_) {
        disturbRun(main);  // while Solid Edge holds the call
    }
    for (HWND label : {controls.viewLine, controls.partLine}) {
        const std::wstring text = label != nullptr ? textOf(label) : std::wstring();
        if (std::find(seen_.captions.begin(), seen_.captions.end(), text) == seen_.captions.end()) {
            seen_.captions.push_back(text);
        }
    }
    const bool running = controls.viewLine != nullptr &&
                         textOf(controls.viewLine) != L"Select Drawing Views to update";
    if (running && options_.disturb && !disturbed_) {
        disturbRun(main);
    }
    LRESULT position = 0;
    if (!running || controls.progressBar == nullptr ||
        !askWindow(controls.progressBar, PBM_GETPOS, 0, 0, 200, position)) {
        return;
    }
    if (position >= options_.runningShotAt) {
        shoot(L"running");
    }
    if (typedAhead_ < options_.typeAheadAt.size() &&
        position >= options_.typeAheadAt[typedAhead_]) {
        ++typedAhead_;
        typeAhead(main, position);
    }
}

void Drive::disturbRun(HWND main) {
    disturbed_ = true;
    const MainControls controls = findMainControls(main);
    checks_.note("during the run: click Exit and Help, Space, Alt+F4 and close the window");
    postMouseClick(controls.exit);
    postMouseClick(controls.help);
    if (HWND focus = focusOf(main)) {
        postKey(focus, VK_SPACE);
    }
    PostMessageW(main, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    PostMessageW(main, WM_CLOSE, 0, 0);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    postClick(controls.help);
    postClick(controls.exit);
}

void Drive::pressHelp(int time) {
    HWND main = mainWindow();
    const MainControls controls = findMainControls(main);
    postClick(controls.help);
    HWND about = nullptr;
    if (!waitUntil(boxMilliseconds, [&] { return (about = aboutBox()) != nullptr; })) {
        checks_.fail("Help opens the about box");
        return;
    }
    HWND ok = nullptr;
    waitUntil(2000, [&] {
        ok = focusOf(about);
        return ok != nullptr && textOf(ok) == L"OK";
    });
    checkAboutBox(checks_, about, main, options_.dpi);
    HWND version = nullptr;
    for (HWND child : childrenInZOrder(about)) {
        const std::wstring text = textOf(child);
        if (text.size() > versionPrefix.size() &&
            text.compare(0, versionPrefix.size(), versionPrefix) == 0) {
            version = child;
        }
    }
    seen_.aboutBoxes.push_back({textOf(about), version != nullptr ? textOf(version) : L""});
    shoot(L"about");

    // Closed with Enter, then Esc, then OK, in turn.
    const char* how = time % 3 == 0 ? "Enter" : time % 3 == 1 ? "Esc" : "OK";
    if (time % 3 == 2 || ok == nullptr) {
        postClick(messageBoxOkButton(about));
    } else {
        postKey(ok, time % 3 == 0 ? VK_RETURN : VK_ESCAPE);
    }
    checks_.expect(waitUntil(boxMilliseconds, [&] { return IsWindow(about) == FALSE; }),
                   std::string(how) + " closes the about box");
    checks_.expect(waitUntil(2000, [&] { return IsWindowEnabled(main) != FALSE; }),
                   "the main window takes input again");
}

void Drive::pressKeysExit() {
    // Tab until Exit has the focus (wherever the last click left it), then
    // Space presses it.
    HWND main = mainWindow();
    const MainControls controls = findMainControls(main);
    for (int press = 0; press < 3 && focusOf(main) != controls.exit; ++press) {
        HWND focus = focusOf(main);
        if (focus == nullptr) {
            break;
        }
        postKey(focus, VK_TAB);
        waitUntil(2000, [&] { return focusOf(main) != focus; });
    }
    if (checks_.expect(focusOf(main) == controls.exit, "Tab reaches Exit")) {
        postKey(controls.exit, VK_SPACE);
    }
}

}  // namespace tav::e2e

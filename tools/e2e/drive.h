// One end-to-end run: starts tavrelmondix.exe, checks its windows, presses
// what the user would press, answers its boxes and waits for it to end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/child_process.h"
#include "tools/e2e/checks.h"

namespace tav::e2e {

struct DriveOptions {
    std::wstring program;
    // process, exit, help, close, or keys-exit (Tab to Exit, then Space).
    std::vector<std::string> actions;
    // The DPI the prefix gives the program.
    int dpi = 96;
    // During a run, click, press keys and close the window: all of it must
    // be dropped.
    bool disturb = false;
    // Type-ahead with the real keyboard and mouse (SendInput): first proof
    // that typed keys reach the idle window at all (Tab and Shift+Tab move
    // the focus), then a click on Process; during the run, once the bar has
    // reached each of these positions, Enter and a click on Exit. The error
    // box that ends the run must stay until the driver answers it.
    std::vector<int> typeAheadAt;
    // A call the host holds inside a dialog: while it lasts the title must
    // say that the tool waits for Solid Edge, and go back afterwards; the
    // clicks, keys and close thrown at the window meanwhile must be dropped.
    bool expectWaiting = false;
    // A call of start-up that the host holds long: the start-up notice must
    // appear before the main window and be gone when the window appears.
    bool expectStartUpNotice = false;
    // The program started a second time: "idle" once the main window waits
    // for the user (minimised first), "starting" once the start-up notice
    // shows; empty for never. The second start must end at once with status
    // 0 and no window of its own, and the first's window come to the front.
    std::string secondStart;
    // A folder for pictures of the screen; empty for none. The picture of a
    // run is taken once the bar has reached `runningShotAt`.
    std::wstring shots;
    int runningShotAt = 1;
    // Where to write what the driver saw (message boxes, about boxes, exit
    // status) as JSON; empty for nowhere.
    std::string seen;
    int timeoutSeconds = 60;
    // How often the window is looked at during a run. Each look asks the
    // tool's windows across processes, which a long run pays for.
    int sampleMilliseconds = 15;
};

// What the user saw, in the harness's terms.
struct Seen {
    struct Box {
        std::wstring title;
        std::wstring text;  // the message, or the about box's version line
    };
    std::vector<Box> messages;
    std::vector<Box> aboutBoxes;
    std::vector<std::wstring> captions;  // distinct status line texts seen during a run
    std::vector<std::wstring> titles;    // the main window's title during a run, as it changed
    int samples = 0;
    int hungSamples = 0;
    DWORD exitCode = 0;
    bool startUpNotice = false;  // the start-up notice was on the screen
    std::optional<DWORD> secondStartExitCode;
};

class Drive {
  public:
    Drive(const DriveOptions& options, Checks& checks);
    Drive(const Drive&) = delete;
    Drive& operator=(const Drive&) = delete;

    // Runs the whole scenario; the verdicts are in `checks`.
    void run();
    const Seen& seen() const { return seen_; }

  private:
    bool launch();
    // During start-up: looks for the start-up notice and checks it.
    void watchStartUp();
    // Once the main window has appeared after start-up.
    void checkStartUpEnded(HWND main);
    // Starts the program once more and waits for that start to end.
    void startSecondTime();
    void secondStartWhileIdle(HWND main);
    bool ended() const;
    HWND mainWindow() const;
    HWND messageBox() const;
    HWND aboutBox() const;
    // Checks and answers a message box with OK.
    void answerMessageBox(HWND box);
    void waitForEnd();
    void pressProcess();
    void pressHelp(int time);
    void pressKeysExit();
    bool startRunByHand(HWND main);
    void sampleRun(HWND main);
    void disturbRun(HWND main);
    void typeAhead(HWND main, LRESULT position);
    void checkBoxStaysOpen(HWND box);
    void checkWaitingTitle();
    void shoot(const wchar_t* name);
    bool waitUntil(DWORD milliseconds, const std::function<bool()>& done,
                   DWORD pollMilliseconds = 15) const;

    DriveOptions options_;
    Checks& checks_;
    // Ended at once when the driver goes before it (status 99).
    std::optional<platform::ChildProcess> program_;
    Seen seen_;
    bool mainShown_ = false;
    bool disturbed_ = false;
    std::size_t typedAhead_ = 0;  // how many of options_.typeAheadAt are done
    std::vector<std::wstring> shotsTaken_;
};

}  // namespace tav::e2e

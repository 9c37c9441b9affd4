// One tavrelmondix.exe per logon session.
//
// A second start while one runs would attach a second tool to the same Solid
// Edge. Instead the second start hands over to the running one (its window
// comes forward) and ends without attaching.
//
// The claim is a named mutex of the window program's own in the session's
// namespace (Local\): other sessions on the machine have theirs, and a
// command-line program of the tool neither takes it nor is kept out by it.
// The instance's thread owns the mutex for the program's life; however the
// program ends (a crash or the Task Manager included) the system releases
// it, so a start is never turned away by a program that is gone.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win/unique_resource.h"

namespace tav::app::win {

// The name of tavrelmondix.exe's claim.
extern const wchar_t* const programInstanceName;

// What a second start posts to the running program's main window: come
// forward. A message registered under a name of the program's own.
UINT comeForwardMessage();

// Asks the running program's main window, of class `windowClass`, to come
// forward, and lets it take the foreground (this start is the user's, so it
// may; it passes that on). False when there is no such window yet.
bool askRunningWindowForward(const wchar_t* windowClass);

class SessionInstance {
  public:
    // Asks the running instance to come forward. False when it has no
    // window to ask yet (it is still starting).
    using HandOver = std::function<bool()>;

    explicit SessionInstance(std::wstring name = programInstanceName);
    // Lets go of the claim when this thread holds it.
    ~SessionInstance();
    SessionInstance(const SessionInstance&) = delete;
    SessionInstance& operator=(const SessionInstance&) = delete;

    // True when this process is the session's instance from now on (the
    // calling thread owns the claim until it ends). Otherwise another runs:
    // it is asked to come forward (`handOver`), and this start must end.
    // While the other one has no window yet, the claim is waited for up to
    // `patienceMs`: it may be ending (then this start takes over) or starting
    // (then it is asked once its window exists). A running instance that
    // shows no window within `patienceMs` is left alone.
    bool claim(const HandOver& handOver, DWORD patienceMs = 5000);

  private:
    std::wstring name_;
    platform::UniqueHandle mutex_;
    bool owner_ = false;
};

}  // namespace tav::app::win

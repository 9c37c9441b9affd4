// Drops the user's mouse and keyboard input to the main window during a run
// (and during start-up, while the window is still hidden).
//
// A run holds the window's thread, but the COM calls it makes (and the wait
// between tries when the host is busy) pump messages, so a click or a key
// could reach a button half-way through the run. A message hook on the
// thread sees every message as it is taken from the queue, by whichever loop
// takes it, and turns input for the main window and its controls into
// WM_NULL while `blocked` answers true: input that arrives during a run is
// gone, not replayed afterwards. Message boxes shown during the run are other
// windows and keep their input.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win/unique_resource.h"

namespace tav::app::win {

class RunInputFilter {
  public:
    // One filter per thread; it removes its hook when destroyed.
    RunInputFilter(HWND mainWindow, std::function<bool()> blocked);
    RunInputFilter(const RunInputFilter&) = delete;
    RunInputFilter& operator=(const RunInputFilter&) = delete;
    ~RunInputFilter();

  private:
    static LRESULT CALLBACK onGetMessage(int code, WPARAM wParam, LPARAM lParam);
    bool drops(const MSG& message) const;

    HWND mainWindow_;
    std::function<bool()> blocked_;
    platform::UniqueHook hook_;
};

}  // namespace tav::app::win

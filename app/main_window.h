// The main window as the lifecycle sees it: the engine's status display plus
// the about box, the window's place in the z-order and closing every window.
// The recording window (harness and tests, app/recording_window.h) and the
// Win32 window (app/win/win32_main_window.h) implement it.
#pragma once

#include "app/about_box.h"
#include "engine/status_window.h"

namespace tav::app {

class MainWindow : public engine::StatusWindow {
  public:
    // Shows the about box modally, owned by the main window; returns when it
    // has been closed.
    virtual void showAbout(const AboutBoxText& about) = 0;

    // Puts the window into the topmost band, then takes it out again: it
    // ends above every window that is not topmost.
    virtual void setTopmost() = 0;
    virtual void clearTopmost() = 0;

    // Closes every window of the tool (the main window and any box it owns)
    // at once; no further handler of the tool runs.
    virtual void closeAll() = 0;
};

}  // namespace tav::app

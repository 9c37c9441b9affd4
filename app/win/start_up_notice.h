// The notice "Waiting for Solid Edge…" that start-up shows when a call to
// Solid Edge has been out long (Solid Edge is busy, perhaps with a dialog of
// its own), while the main window is still hidden: without it nothing of the
// tool would be on the screen. A small captioned window of one line, centred
// on the screen the user works on, shown without taking the focus from
// Solid Edge. It cannot be closed by the user: start-up closes it when it
// ends.
#pragma once

#include <windows.h>

#include "app/win/dialog_layout.h"
#include "app/win/dialog_window.h"

namespace tav::app::win {

inline constexpr const wchar_t* startUpNoticeText = L"Waiting for Solid Edge\u2026";

class StartUpNotice final : private DialogWindow {
  public:
    StartUpNotice();

    // Creates the notice and shows it; false when Windows refuses.
    bool show(HINSTANCE instance);

  private:
    void applyDpi(UINT dpi) override;
    void centreOnWorkingScreen();

    DialogFont font_;
};

}  // namespace tav::app::win

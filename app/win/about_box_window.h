// The about box: the tool's name, version and usage texts in a modal box
// owned by the main window, at a fixed place on the screen.
#pragma once

#include <windows.h>

#include "app/about_box.h"
#include "app/win/dialog_layout.h"
#include "app/win/dialog_window.h"
#include "platform/win/unique_resource.h"

namespace tav::app::win {

class AboutBoxWindow final : private DialogWindow {
  public:
    // Creates the box afresh with `about`'s texts, shows it with `owner`
    // disabled, and returns once it has been closed (OK, Enter, Esc or the
    // frame's close control).
    static void showModal(HINSTANCE instance, HWND owner, const AboutBoxText& about);

  private:
    AboutBoxWindow();
    bool create(HINSTANCE instance, HWND owner, const AboutBoxText& about);
    void runModalLoop();
    void close();

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(int id);
    void onPaint();
    // High contrast turned on or off, or the system's colours changed: the
    // texts are drawn again in their colours.
    void onColoursChanged();
    void applyDpi(UINT dpi) override;
    void loadFittingFont(UINT dpi);
    void placeIcon(UINT dpi);

    HWND owner_ = nullptr;
    platform::UniqueIcon icon_;
    DialogFont font_;
    DWORD highContrastFlags_ = 0;
    bool open_ = false;
};

}  // namespace tav::app::win

// The tool's main window on the Windows desktop: two status lines, three
// buttons and a progress bar in a small fixed dialog frame, laid out in twips
// at the window's DPI. It hands the buttons and the close control to Form1
// and shows what the run reports.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/lifecycle.h"
#include "app/main_window.h"
#include "app/win/dialog_layout.h"
#include "app/win/dialog_window.h"
#include "app/win/heartbeat.h"
#include "app/win/run_input_filter.h"
#include "app/win/start_up_notice.h"
#include "app/window_state.h"

namespace tav::app::win {

class Win32MainWindow final : public MainWindow, private DialogWindow {
  public:
    // The class of the program's one main window, which a second start of
    // the program asks to come forward (comeForwardMessage).
    static constexpr const wchar_t* windowClassName = L"TavrelmondixMain";

    // Creates the window, hidden, with its controls. Raises
    // std::runtime_error when Windows refuses to create it.
    explicit Win32MainWindow(HINSTANCE instance);

    // The handlers the buttons and the close control go to, for the life of
    // the window.
    void attach(Form1& form);
    void show(int showCommand);
    // Keyboard navigation between the controls, as in a dialog. True when
    // the message was used for it.
    bool handleDialogKey(MSG& message);
    // Called twice a second for the life of the window, on its thread, also
    // while the window is hidden and while a host call is out.
    void setHeartbeat(std::function<void()> heartbeat);
    // The tool is waiting for Solid Edge, or no longer. Once the window is
    // on the screen its title says so. During start-up (the window still
    // hidden) the start-up notice says so instead, and stays until start-up
    // ends: until the window is shown, or start-up shows its message.
    void showWaitingForHost(bool waiting);
    // Called when Process starts a run, before the run.
    void setBeforeRun(std::function<void()> beforeRun) { beforeRun_ = std::move(beforeRun); }

    // engine::StatusWindow
    void setCaption(engine::StatusLine line, std::u16string_view text) override;
    std::u16string caption(engine::StatusLine line) const override;
    void setProgressMin(float value) override;
    void setProgressMax(float value) override;
    void setProgressValue(float value) override;
    float progressValue() const override { return shown_.progress().value; }
    float progressMax() const override { return shown_.progress().max; }
    void repaint() override;
    void showMessage(std::u16string_view text) override;

    // MainWindow
    void showAbout(const AboutBoxText& about) override;
    void setTopmost() override;
    void clearTopmost() override;
    void closeAll() override;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(int id, int notification);
    void onClose();
    void applyDpi(UINT dpi) override;
    void showProgress();
    // A second start asked for the window: restored and in the foreground,
    // or, while still starting up, as soon as it is shown.
    void comeForward();
    void endStartUp();
    // True while the window must act on no button: a run, the about box
    // (which disables it), or the program ending.
    bool ignoresButtons() const;

    HINSTANCE instance_;
    Form1* form_ = nullptr;
    DialogFont font_;
    std::unique_ptr<RunInputFilter> inputFilter_;
    std::function<void()> heartbeat_;
    std::unique_ptr<Heartbeat> pulse_;
    std::function<void()> beforeRun_;
    WindowState shown_;
    std::unique_ptr<StartUpNotice> startUpNotice_;
    bool startUpOver_ = false;
    bool comeForwardWhenShown_ = false;
    bool closing_ = false;
};

}  // namespace tav::app::win

// A main window that draws nothing and records everything: the window of the
// harness and the tests. Message boxes and the about box are answered with OK
// at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/ui_event.h"
#include "app/window_state.h"

namespace tav::app {

enum class ZOrderCall { setTopmost, clearTopmost };

class RecordingWindow : public MainWindow {
  public:
    using Sink = std::function<void(const UiEvent&)>;
    explicit RecordingWindow(Sink onEvent = {});

    void setCaption(engine::StatusLine line, std::u16string_view text) override;
    std::u16string caption(engine::StatusLine line) const override;
    void setProgressMin(float value) override;
    void setProgressMax(float value) override;
    void setProgressValue(float value) override;
    float progressValue() const override { return shown_.progress().value; }
    float progressMax() const override { return shown_.progress().max; }
    void repaint() override;
    void showMessage(std::u16string_view text) override;
    void showAbout(const AboutBoxText& about) override;
    void setTopmost() override;
    void clearTopmost() override;
    void closeAll() override { closed_ = true; }

    // What the window shows now.
    const WindowState& shown() const { return shown_; }
    // The z-order calls in order, and whether every window has been closed.
    const std::vector<ZOrderCall>& zOrderCalls() const { return zOrderCalls_; }
    bool closed() const { return closed_; }

  private:
    void record(const UiEvent& event) const;

    Sink onEvent_;
    WindowState shown_;
    std::vector<ZOrderCall> zOrderCalls_;
    bool closed_ = false;
};

// The name a status line's label has in the tool's results and events.
const char* controlName(engine::StatusLine line);

}  // namespace tav::app

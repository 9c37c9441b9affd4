// A main window that draws nothing and records everything: the window of the
// harness and the tests. Message boxes and the about box are answered with OK
// at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/ui_event.h"

namespace tav::app {

enum class ZOrderCall { setTopmost, clearTopmost };

class RecordingWindow : public MainWindow {
  public:
    using Sink = std::function<void(const UiEvent&)>;
    explicit RecordingWindow(Sink onEvent = {});

    void setCaption(engine::StatusLabel label, std::u16string_view text) override;
    std::u16string caption(engine::StatusLabel label) const override;
    void setProgressMin(float value) override;
    void setProgressMax(float value) override;
    void setProgressValue(float value) override;
    float progressValue() const override { return progressValue_; }
    float progressMax() const override { return progressMax_; }
    void repaint() override;
    void showMessage(std::u16string_view text) override;
    void showAbout(const AboutBoxText& about) override;
    void setTopmost() override;
    void clearTopmost() override;
    void closeAll() override { closed_ = true; }

    float progressMin() const { return progressMin_; }
    // The z-order calls in order, and whether every window has been closed.
    const std::vector<ZOrderCall>& zOrderCalls() const { return zOrderCalls_; }
    bool closed() const { return closed_; }

  private:
    void record(const UiEvent& event) const;

    Sink onEvent_;
    std::u16string lblVista_;
    std::u16string lblPieza_;
    float progressMin_ = 0.0f;
    float progressMax_ = 0.0f;
    float progressValue_ = 0.0f;
    std::vector<ZOrderCall> zOrderCalls_;
    bool closed_ = false;
};

// The control names the tool's results use.
const char* controlName(engine::StatusLabel label);

}  // namespace tav::app

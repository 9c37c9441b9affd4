// A main window that draws nothing and records everything: the window of the
// harness and the tests. Message boxes and the about box are answered with OK
// at once.
#pragma once

#include <functional>
#include <string>

#include "app/main_window.h"
#include "app/ui_event.h"

namespace tav::app {

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
    void setTopmost() override {}
    void clearTopmost() override {}
    // Nothing to close: the lifecycle itself knows that the program has ended.
    void endProgram() override {}

    float progressMin() const { return progressMin_; }

  private:
    void record(const UiEvent& event) const;

    Sink onEvent_;
    std::u16string lblVista_;
    std::u16string lblPieza_;
    float progressMin_ = 0.0f;
    float progressMax_ = 0.0f;
    float progressValue_ = 0.0f;
};

// The control names the tool's results use.
const char* controlName(engine::StatusLabel label);

}  // namespace tav::app

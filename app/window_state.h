// What the main window shows of a run: the caption of each status line and
// the progress bar's range and value. The Win32 window and the recording
// window each hold one, and the harness reports the one the recording window
// ends with, so what a caption or the bar reads back as is decided here
// alone: exactly what was last set, the bar's numbers in single precision.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/status_window.h"

namespace tav::app {

struct ProgressBarState {
    float min = 0.0f;
    float max = 0.0f;
    float value = 0.0f;
};

class WindowState {
  public:
    const std::u16string& caption(engine::StatusLine line) const { return captions_[at(line)]; }
    void setCaption(engine::StatusLine line, std::u16string_view text) {
        captions_[at(line)] = text;
    }

    const ProgressBarState& progress() const { return progress_; }
    void setProgressMin(float value) { progress_.min = value; }
    void setProgressMax(float value) { progress_.max = value; }
    void setProgressValue(float value) { progress_.value = value; }

  private:
    static constexpr std::size_t at(engine::StatusLine line) {
        return line == engine::StatusLine::view ? 0 : 1;
    }

    std::array<std::u16string, 2> captions_;
    ProgressBarState progress_;
};

}  // namespace tav::app

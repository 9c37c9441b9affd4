// The status display of a run that shows nothing: the command-line tool
// keeps the numbers the run reads back and draws nothing. A message box
// would be a fault: the tool reports failures on its own lines instead.
#pragma once

#include <string>

#include "engine/status_window.h"

namespace tav::cli {

class SilentWindow final : public engine::StatusWindow {
  public:
    void setCaption(engine::StatusLine, std::u16string_view) override {}
    std::u16string caption(engine::StatusLine) const override { return {}; }
    void setProgressMin(float) override {}
    void setProgressMax(float value) override { progressMax_ = value; }
    void setProgressValue(float value) override { progressValue_ = value; }
    float progressValue() const override { return progressValue_; }
    float progressMax() const override { return progressMax_; }
    void repaint() override {}
    void showMessage(std::u16string_view) override {}

  private:
    float progressValue_ = 0.0f;
    float progressMax_ = 0.0f;
};

}  // namespace tav::cli

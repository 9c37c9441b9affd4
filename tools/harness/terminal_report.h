// What the harness prints: the window's progress as it happens, message
// boxes and the about box as boxes, then a compact report of what changed in
// the drawing.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/harness/session.h"

namespace tav::harness {

class TerminalReport {
  public:
    // `interactive`: the output is a terminal, so the lower status line is
    // redrawn in place and colours are shown as swatches.
    TerminalReport(std::ostream& out, bool interactive);

    void onEvent(const Event& event);
    void summary(const SessionOutcome& outcome);

  private:
    void onUiEvent(const app::UiEvent& event);
    void onHostEvent(const sim::HostEvent& event);
    void showStatus(const std::u16string& text);
    void finishStatus();
    void box(const std::string& title, const std::vector<std::string>& lines);
    std::string swatch(std::int32_t colour) const;

    std::ostream& out_;
    bool interactive_;
    std::string status_;  // the lower label's text not yet on its own line
    bool statusShown_ = false;
};

}  // namespace tav::harness

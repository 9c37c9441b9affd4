// What the harness prints: the window's progress as it happens, message
// boxes and the about box as boxes, then a compact report of what changed in
// the drawing.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "testbed/harness_session/session.h"

namespace tav::session {

class TerminalReport {
  public:
    // `terminal`: the output is a terminal, so the lower status line is
    // redrawn in place and colours are shown as swatches.
    TerminalReport(std::ostream& out, bool terminal);

    void onEvent(const result::Event& event);
    void summary(const SessionOutcome& outcome);

  private:
    void onUiEvent(const app::UiEvent& event);
    void onHostEvent(const result::HostEvent& event);
    // The part line: on a terminal redrawn in place; elsewhere printed
    // once per phase, with its last text.
    void setStatus(const std::string& text);
    void endStatus();
    void printLine(const std::string& line);
    void box(const std::string& title, const std::string& text);
    std::string swatch(std::int32_t color) const;

    std::ostream& out_;
    bool terminal_;
    std::string status_;
    int stylesCreated_ = 0;  // since the last upper-label caption
};

}  // namespace tav::session

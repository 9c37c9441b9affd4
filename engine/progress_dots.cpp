#include "engine/progress_dots.h"

#include <string>

namespace tav::engine {
namespace {
constexpr std::int16_t visitsPerDot = 10;
constexpr std::size_t longestCaption = 110;
}  // namespace

void progressStep(RunContext& context, std::u16string_view restartCaption) {
    EngineState& state = context.state;
    state.dotCounter = static_cast<std::int16_t>(state.dotCounter + 1);
    if (state.dotCounter != visitsPerDot) {
        return;
    }
    state.dotCounter = 0;
    StatusWindow& window = context.window;
    window.setCaption(StatusLine::part, window.caption(StatusLine::part) + u".");
    window.repaint();
    // Not repainted here: the next dot shows the shortened caption.
    if (window.caption(StatusLine::part).size() > longestCaption) {
        window.setCaption(StatusLine::part, restartCaption);
    }
}

}  // namespace tav::engine

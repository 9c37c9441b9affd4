#pragma once

#include "engine/engine_state.h"
#include "engine/status_window.h"

namespace tav::engine {

// What the engine's procedures work on: the main window's engine state and
// its status display.
struct RunContext {
    EngineState& state;
    StatusWindow& window;
};

}  // namespace tav::engine

// The Process button: the whole job of the tool, from the host's selection
// to the restored host.
#pragma once

#include "engine/engine_state.h"
#include "engine/status_window.h"

namespace tav::engine {

enum class RunEnd {
    // Every step ran; the caller shuts the program down.
    completed,
    // An error ended the run: its number and description were shown, and the
    // host was given back its interactive state. The program ends at once.
    fatal,
};

// Runs once per program life (one press of Process). Holds the calling
// thread to the end; the window changes only at explicit repaints.
RunEnd cmdAccept_Click(EngineState& state, StatusWindow& window);

}  // namespace tav::engine

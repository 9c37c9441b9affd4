// One drawing view of a run: its assembly's parts, the members it draws,
// their pairing and the line styles put on them. Shared by the window's
// Process and the command-line tool's sheets, so both make the same host
// calls for a view.
#pragma once

#include "engine/run_context.h"
#include "engine/run_steps.h"

namespace tav::engine {

// Processes `context.state.currentView`. A view without a model reference is
// skipped while the run is tolerant; the first model reference makes the run
// strict. Leaves the view's tables filled for the caller.
void processCurrentView(RunContext& context, RunSteps& steps);

}  // namespace tav::engine

// The two error modes of the tool.
//
// Strict steps are plain calls: an AutomationError leaves the procedure and
// its callers until the handler that started the work reports it.
//
// Tolerant steps go through `attempt`: a step that fails is abandoned at its
// failing call, and the caller goes on with the next step. `attempt` says
// whether the step ran through, so a caller that must remember a failure
// (or treat a failed test as passed) can do so where it matters.
#pragma once

#include <utility>

#include "host/error.h"

namespace tav::engine {

template <class Step>
[[nodiscard]] bool attempt(Step&& step) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const host::AutomationError&) {
        return false;
    }
}

// The same, for a caller that says what went wrong: a failed step's error
// goes to `onFailure` before the caller goes on.
template <class Step, class OnFailure>
[[nodiscard]] bool attempt(Step&& step, OnFailure&& onFailure) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const host::AutomationError& error) {
        std::forward<OnFailure>(onFailure)(error);
        return false;
    }
}

// A tolerant step whose failure is deliberately of no consequence.
template <class Step>
void tolerate(Step&& step) {
    static_cast<void>(attempt(std::forward<Step>(step)));
}

}  // namespace tav::engine

// The error mode of one run of Process: its steps are tolerated (abandoned
// at their failing call, false returned) until the first view yields a model
// reference, strict (the error leaves the run) from then on.
#pragma once

#include <utility>

#include "engine/error_modes.h"

namespace tav::engine {

class RunSteps {
  public:
    template <class Step>
    bool step(Step&& action) {
        if (strict_) {
            std::forward<Step>(action)();
            return true;
        }
        return attempt(std::forward<Step>(action));
    }

    // From the first model reference on, every failure ends the run.
    void becomeStrict() { strict_ = true; }
    bool strict() const { return strict_; }

  private:
    bool strict_ = false;
};

}  // namespace tav::engine

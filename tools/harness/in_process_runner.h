// The tool and the simulated host in this process: the harness's default,
// on every system.
#pragma once

#include "tools/harness/session_runner.h"

namespace tav::harness {

class InProcessRunner final : public SessionRunner {
  public:
    explicit InProcessRunner(bool keepEvents) : keepEvents_(keepEvents) {}

    HarnessRun runWindow(sim::Scene scene, const std::vector<session::Action>& actions,
                         const session::EventSink& show, bool membersBefore,
                         result::EventLog& events) override;
    HarnessRun runCommandLine(sim::Scene scene, const session::CliSessionOptions& options,
                              result::EventLog& events) override;

  private:
    // Events pass through as they happen; the session keeps none of them.
    session::EventSink logged(const session::EventSink& show, result::EventLog& events) const;

    bool keepEvents_;
};

}  // namespace tav::harness

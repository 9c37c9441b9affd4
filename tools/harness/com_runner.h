// The tool over COM against sehost-sim.exe serving the scene (Windows): the
// runner of `tavrelmondix-sim --com`.
#pragma once

#include "tools/harness/com_session.h"
#include "tools/harness/session_runner.h"

namespace tav::harness {

class ComRunner final : public SessionRunner {
  public:
    explicit ComRunner(const RunnerChoice& choice);

    HarnessRun runWindow(sim::Scene scene, const std::vector<session::Action>& actions,
                         const session::EventSink& show, bool membersBefore,
                         result::EventLog& events) override;
    HarnessRun runCommandLine(sim::Scene scene, const session::CliSessionOptions& options,
                              result::EventLog& events) override;

  private:
    std::string scenePath_;
    ComSessionOptions options_;
};

}  // namespace tav::harness

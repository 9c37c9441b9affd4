#include "tools/harness/in_process_runner.h"

#include <utility>

namespace tav::harness {

session::EventSink InProcessRunner::logged(const session::EventSink& show,
                                           result::EventLog& events) const {
    return [this, show, &events](const result::Event& event) {
        if (show) {
            show(event);
        }
        if (keepEvents_) {
            events.add(event);
        }
    };
}

HarnessRun InProcessRunner::runWindow(sim::Scene scene, const std::vector<session::Action>& actions,
                                      const session::EventSink& show, bool membersBefore,
                                      result::EventLog& events) {
    HarnessRun run;
    run.outcome = session::runSession(
        std::move(scene), actions, logged(show, events),
        {.events = session::EventRetention::streamOnly, .membersBefore = membersBefore});
    return run;
}

HarnessRun InProcessRunner::runCommandLine(sim::Scene scene,
                                           const session::CliSessionOptions& options,
                                           result::EventLog& events) {
    HarnessRun run;
    static_cast<result::Outcome&>(run.outcome) = session::runCliSession(
        std::move(scene), options, logged({}, events), session::EventRetention::streamOnly);
    return run;
}

}  // namespace tav::harness

#include "tools/harness/com_runner.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <utility>

namespace tav::harness {
namespace {

// A run the server served, with the names it resolved when it finished.
HarnessRun servedRun(std::optional<std::int64_t> nameLookups) {
    HarnessRun run;
    run.overCom = true;
    run.nameLookups = nameLookups;
    return run;
}

}  // namespace

ComRunner::ComRunner(const RunnerChoice& choice) : scenePath_(choice.scenePath) {
    options_.busy.bound = std::chrono::milliseconds(choice.busyBoundMs);
    options_.roundTrips = choice.roundTrips;
    options_.typeLibraryReport = choice.typeLibraryReport;
}

// Over COM the session logs both sides' events itself, once both are known,
// and always reads the members as the scene brought them: it needs them to
// tell which ones the server changed.
HarnessRun ComRunner::runWindow(sim::Scene scene, const std::vector<session::Action>& actions,
                                const session::EventSink& show, bool /*membersBefore*/,
                                result::EventLog& events) {
    ComSessionOutcome served =
        runComSession(scenePath_, std::move(scene), actions, show, options_, events);
    HarnessRun run = servedRun(served.nameLookups);
    run.outcome = std::move(served.toolSide);
    return run;
}

HarnessRun ComRunner::runCommandLine(sim::Scene scene, const session::CliSessionOptions& options,
                                     result::EventLog& events) {
    ComCliOutcome served = runComCliSession(scenePath_, scene, options, options_, events);
    HarnessRun run = servedRun(served.nameLookups);
    static_cast<result::Outcome&>(run.outcome) = std::move(served.outcome);
    return run;
}

}  // namespace tav::harness

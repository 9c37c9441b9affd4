// The one route of a harness run: a session runner runs the tool (its window
// with the user's actions, or the command-line tool with its arguments)
// against the scene, in this process or over COM, and hands back what the
// result file records. `main` picks the runner and never asks which it got.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/sim/scene.h"
#include "testbed/harness_session/cli_session.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/event_log.h"

namespace tav::harness {

// What one run left for the report and the result file.
struct HarnessRun {
    session::SessionOutcome outcome;
    bool overCom = false;
    // Over COM: the names the server resolved, told when it finished; nothing
    // when it did not (it crashed), and then the host's part is not known.
    std::optional<std::int64_t> nameLookups;
};

class SessionRunner {
  public:
    virtual ~SessionRunner() = default;
    // The window, pressed as `actions` say. `show` sees every event as it
    // happens; the events the result file holds go to `events`.
    virtual HarnessRun runWindow(sim::Scene scene, const std::vector<session::Action>& actions,
                                 const session::EventSink& show, bool membersBefore,
                                 result::EventLog& events) = 0;
    // The command-line tool, as `options` start it.
    virtual HarnessRun runCommandLine(sim::Scene scene, const session::CliSessionOptions& options,
                                      result::EventLog& events) = 0;
};

// How the harness was asked to run the tool.
struct RunnerChoice {
    std::string scenePath;
    // Whether the result file's events are wanted (in process they are
    // logged only then).
    bool keepEvents = false;
    bool overCom = false;
    // Over COM: how long a busy host's call is retried, where to write the
    // round trips (empty: nowhere), and a probe's report whose type library
    // the server serves (empty: its own).
    std::int64_t busyBoundMs = 30000;
    std::string roundTrips = {};
    std::string typeLibraryReport = {};
};

// The runner `choice` asks for. Raises std::invalid_argument for a run over
// COM where there is no COM (a build for another system than Windows).
std::unique_ptr<SessionRunner> makeSessionRunner(const RunnerChoice& choice);

// The result file of `run`, with the events of `events`.
void writeRunResult(std::ostream& out, const HarnessRun& run, const result::EventLog& events);

}  // namespace tav::harness

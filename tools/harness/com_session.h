// The tool over COM, as `tavrelmondix-sim --com` runs it: sehost-sim.exe
// (from the harness's own folder) serves the scene out of process, the tool
// attaches to it exactly as tavrelmondix.exe attaches to Solid Edge, with the
// recording window, and the two sides' results are merged into one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/com/busy_host.h"
#include "testbed/harness_session/cli_session.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/event_log.h"

namespace tav::harness {

struct ComSessionOutcome {
    // What the tool saw (its end and window) and, when the server finished,
    // the host's state from the server's part.
    session::SessionOutcome toolSide;
    // The names the server resolved; empty when the server ended without
    // finishing (it crashed): only the tool's side is known then.
    std::optional<std::int64_t> nameLookups;
};

struct ComSessionOptions {
    com::BusyRetryPolicy busy;
    // Where to write every round trip between the processes, as the server
    // counted them by kind, with what the tool asked of COM; empty for none.
    std::string roundTrips;
    // A probe's report whose type library the server serves; empty: its own.
    std::string typeLibraryReport;
};

// `scene` is the scene file's content, already loaded (for the report of
// what changed). Both sides' events go to `events` in the order they
// happened. Raises std::runtime_error when the server cannot be started or
// ends before it is ready.
ComSessionOutcome runComSession(const std::string& scenePath, sim::Scene scene,
                                const std::vector<session::Action>& actions,
                                const session::EventSink& live, const ComSessionOptions& options,
                                result::EventLog& events);

struct ComCliOutcome {
    // The tool's part (its cli) and, when the server finished, the host's.
    result::Outcome outcome;
    // The names the server resolved; empty when it ended without finishing
    // (it crashed): only the tool's part is known then.
    std::optional<std::int64_t> nameLookups;
};

// The command-line tool over COM, as `tavrelmondix-sim --cli --com` runs it:
// its own code in this process against sehost-sim.exe serving the scene.
ComCliOutcome runComCliSession(const std::string& scenePath, const sim::Scene& scene,
                               const session::CliSessionOptions& cliOptions,
                               const ComSessionOptions& options, result::EventLog& events);

}  // namespace tav::harness

// What a result file tells about one run of the tool, as values: the host's
// part (what the host holds when the tool has ended), the window's part (how
// the program ended and what its window shows) and the events in between.
// In process one run gives both parts; over COM the server gives the host's
// part and the harness the window's, and result_reader.h and event_merge.h
// put them back together.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/program_end.h"
#include "app/ui_event.h"
#include "app/window_state.h"
#include "host/sim/sim_host.h"
#include "testbed/result_file/records/host_event.h"

namespace tav::result {

// Everything a user or the document could observe, in the order it happened.
using Event = std::variant<app::UiEvent, result::HostEvent>;

// What the host holds when the tool has ended: the host's part of a result,
// which an out-of-process host writes on its own.
struct HostOutcome {
    std::int32_t hostCalls = 0;
    // References still held when the tool ended (or when the actions ran out).
    std::int32_t heldReferences = 0;
    // Over COM, from a host that rejected calls of every kind while busy:
    // the releases it rejected, whose references it therefore still holds
    // although the tool gave them back.
    std::optional<std::int32_t> rejectedReleases;
    bool interactive = true;
    bool delayCompute = false;
    std::vector<std::int32_t> commands;
    std::vector<std::string> selection;
    std::vector<result::LineStyleState> lineStyles;
    std::vector<result::PartMemberState> partMembers;
    // Whether the file tells of every document and of the alerts: for a
    // command-line run, and for a scene that describes documents on disk,
    // sheets or the other things only such scenes use. Else these fields are
    // left out, so that every earlier result stays as it was.
    bool documentFields = false;
    bool displayAlerts = true;
    std::vector<result::DocumentState> documents;
};

// `commandLineRun`: the tool that ran was the command-line tool, whose
// results always tell of every document.
HostOutcome hostOutcomeOf(const sim::SimInspector& host, bool commandLineRun = false);

// What a run of the command-line tool shows: its exit status, what it
// printed, the error messages file and the report it wrote.
struct CliOutcome {
    std::int32_t exitCode = 0;
    std::vector<std::string> stdoutLines;                         // UTF-8, as printed
    std::optional<std::vector<std::string>> errorMessages;        // null: none written
    std::optional<std::vector<std::vector<std::string>>> report;  // null: none asked for; rows
                                                                  // incl. header
};

// How the program ended and what its window shows: the window's part.
struct WindowOutcome {
    app::ProgramEnd end = app::ProgramEnd::running;
    // What the window shows as the program ends.
    app::WindowState window;
    // Present: a command-line run, which has no window (its end is "cli").
    std::optional<CliOutcome> cli;
};

// Both parts, as one run in process ends with them.
struct Outcome : HostOutcome, WindowOutcome {
    // Every event in order, unless the run only passed them on as they came.
    std::vector<Event> events;
};

// The name of a program end in results: refused, my_end, fatal, closed, open.
std::string_view endName(app::ProgramEnd end);
// The same for either part: "cli" for a command-line run.
std::string_view endName(const WindowOutcome& window);

}  // namespace tav::result

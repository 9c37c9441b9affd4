// The result file: how the session ended, the host's and the document's
// final state, the window's final state and every event, written in one pass
// to a stream in the layout of nlohmann's dump with an indent of 1.
//
// It has two parts (outcome.h). In process one session holds both; over COM
// the server writes the host's part on its own (writeHostPart), with every
// host event's call number and the number of names it resolved, and the
// harness merges it with the window's part (result_reader.h, event_merge.h).
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "testbed/result_file/event_log.h"
#include "testbed/result_file/outcome.h"

namespace tav::result {

// The in-process result file, with the events `events` holds (those of
// `outcome` are left out).
void writeResultFile(std::ostream& out, const Outcome& outcome, const EventLog& events);
// The same with the events `outcome` kept.
void writeResultFile(std::ostream& out, const Outcome& outcome);

// The merged result file: the window's part and, when the host finished, the
// host's part (else its fields are left out); nameLookups, when known, right
// after hostCalls, as in the host's part.
void writeResultFile(std::ostream& out, const WindowOutcome& window, const HostOutcome* host,
                     std::optional<std::int64_t> nameLookups, const EventLog& events);

// The host's part alone, as an out-of-process host writes it: no end and no
// window; `hostEvents` should write call numbers (EventLog::CallNumbers).
void writeHostPart(std::ostream& out, const HostOutcome& host, std::int64_t nameLookups,
                   const EventLog& hostEvents);

}  // namespace tav::result

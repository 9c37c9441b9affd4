// The result file: how the session ended, the host's and the document's
// final state, the window's final state and every event, written in one pass
// to a stream in the layout of nlohmann's dump with an indent of 1.
//
// It has two parts. The host's: hostCalls, heldReferences, host, selection,
// lineStyles, members and the host events. The window's: end, window and the
// window's events. In process one session holds both; over COM the server
// writes the host's part on its own (writeHostPart), with every host event's
// call number and the number of names it resolved, and the harness merges it
// with the window's part (host_part.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/harness/event_log.h"
#include "tools/harness/session.h"

namespace tav::harness {

// One event as the result file shows it, written `depth` levels deep; host
// events with their call number when `call` is given.
void appendEvent(std::string& out, const Event& event, std::size_t depth,
                 std::optional<std::int32_t> call);
// One event as a JSON value (host events without call number).
nlohmann::ordered_json eventJson(const Event& event);

// The in-process result file, with the events `events` holds.
void writeResultFile(std::ostream& out, const SessionOutcome& outcome, const EventLog& events);
// The same with the events the session kept.
void writeResultFile(std::ostream& out, const SessionOutcome& outcome);

// The merged result file: the window's part and, when the host finished, the
// host's part (else its fields are left out); nameLookups, when known, right
// after hostCalls, as in the host's part.
void writeResultFile(std::ostream& out, const WindowOutcome& window, const HostOutcome* host,
                     std::optional<std::int64_t> nameLookups, const EventLog& events);

// The host's part alone, as an out-of-process host writes it: no end and no
// window; `hostEvents` should write call numbers (EventLog::CallNumbers).
void writeHostPart(std::ostream& out, const HostOutcome& host, std::int64_t nameLookups,
                   const EventLog& hostEvents);

}  // namespace tav::harness

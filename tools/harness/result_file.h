// The result file of a session: the end, the host's and the document's final
// state, the window's final state and every event, in the shape other tools
// read.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/harness/session.h"

namespace tav::harness {

nlohmann::ordered_json resultJson(const SessionOutcome& outcome);
nlohmann::ordered_json eventJson(const Event& event);

}  // namespace tav::harness

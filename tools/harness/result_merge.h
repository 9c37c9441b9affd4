// One result file from the two sides of a run over COM.
//
// The tool's side is the harness's own result over what the tool saw: its
// end, the window and the window's events, each event with the number of
// host calls the tool had made before it. The host's side is the server's
// result file: the host's and the document's state, the host's events each
// with its host call number, and the names it resolved. Merged, the events
// fall in the order they happened, and the file has the shape of an
// in-process result, plus "nameLookups".
#pragma once

#include <cstdint>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::harness {

// `toolSide`: a result whose events are the window's only; `callsBefore[i]`:
// host calls made before its event i. `hostSide`: the server's result, or
// null when the server ended without finishing (then only the tool's side
// is written: end, window and the window's events).
nlohmann::ordered_json mergeResults(const nlohmann::ordered_json& toolSide,
                                    const std::vector<std::int32_t>& callsBefore,
                                    const nlohmann::ordered_json* hostSide);

}  // namespace tav::harness

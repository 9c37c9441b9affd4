// The server's result file: the host's side of a session only (no end, no
// window), every host event with the number of the host call that made it,
// and the number of names resolved for clients.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/sim/host_event.h"
#include "host/sim/sim_host.h"

namespace tav::sehost {

// The host's part of the result, as it stands now. `heldReferences` is what
// clients hold (the server's own references left out).
nlohmann::ordered_json hostResultJson(const sim::SimInspector& host, std::int32_t heldReferences,
                                      const std::vector<sim::HostEvent>& events,
                                      std::int32_t nameLookups);

// Writes `json` to `file` so that a reader sees either the whole file or
// none: into a temporary file beside it, then renamed over it.
void writeResultFile(const std::filesystem::path& file, const nlohmann::ordered_json& json);

}  // namespace tav::sehost

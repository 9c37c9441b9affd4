// The server's result file: the host's side of a session only (no end, no
// window), every host event with the number of the host call that made it,
// and the number of names resolved for clients.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/sim/sim_host.h"
#include "testbed/result_file/records/host_event.h"

namespace tav::sehost {

// The host's part of the result, as it stands now, as the text of the file.
// `heldReferences` is what clients hold (the server's own references left
// out).
// `rejectedReleases`: from a host that rejects calls of every kind while busy.
// `commandLineRun`: the client is the command-line tool, so the result tells
// of every document whatever the scene.
std::string hostResultText(const sim::SimInspector& host, std::int32_t heldReferences,
                           std::optional<std::int32_t> rejectedReleases,
                           const std::vector<result::HostEvent>& events, std::int32_t nameLookups,
                           bool commandLineRun = false);

// Writes `text` to `file` whole or not at all (see testbed/result_file/atomic_file.h).
void writeResultFile(const std::filesystem::path& file, const std::string& text);

}  // namespace tav::sehost

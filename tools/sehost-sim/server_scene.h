// The scene a server serves, with the two keys that act over COM only:
// `busy` (a host call rejected as busy a number of times before it is
// served) and `crashAtCall` (the host call at whose arrival the server ends at
// once). They are read here and taken out before the rest of the scene goes
// to the scene loader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "host/sim/scene.h"
#include "tools/sehost-sim/busy_filter.h"

namespace tav::sehost {

struct ServerScene {
    sim::Scene scene;
    std::optional<BusyCall> busy;
    std::optional<std::int32_t> crashAtCall;
};

// Reads a scene file; a refused scene raises sim::SceneError with one line
// naming the file, the JSON path and what is wrong.
ServerScene loadServerScene(const std::filesystem::path& file);
ServerScene parseServerScene(std::string_view text, std::string_view fileNameForMessages);

}  // namespace tav::sehost

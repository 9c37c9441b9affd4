// The scene a server serves, with the two keys that act over COM only:
// `busy` (a host call rejected as busy a number of times before it is
// served) and `crashAtCall` (the host call at whose arrival the server ends at
// once). They are read here and taken out before the rest of the scene goes
// to the scene loader. Portable: a harness may read scenes with it too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "host/sim/scene.h"

namespace tav::sehost {

// Host call `call` is rejected `rejections` times before it is served.
struct BusyCall {
    std::int32_t call = 0;
    std::int32_t rejections = 0;
};

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

// Reading a scene file. A scene that is not valid JSON or does not match the
// scene format is refused with a SceneError naming the file, the JSON path and
// what is wrong; nothing is guessed.
#pragma once

#include <filesystem>
#include <string_view>

#include "host/sim/scene.h"
#include "host/sim/scene_error.h"

namespace tav::sim {

inline constexpr std::string_view sceneFormat = "tavrelmondix-scene/1";

Scene loadScene(const std::filesystem::path& file);
Scene parseScene(std::string_view json, std::string_view fileNameForMessages);

}  // namespace tav::sim

// Reading a scene file. A scene that is not valid JSON or does not match the
// scene format is refused with a SceneError naming the file, the JSON path and
// what is wrong; nothing is guessed.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "host/sim/scene.h"
#include "host/sim/scene_error.h"

namespace tav::sim {

inline constexpr std::string_view sceneFormat = "tavrelmondix-scene/1";

// How many levels deep model members and sub-occurrences may nest: the
// children of a view's root member, and of a top-level occurrence, are level
// 1. The tool walks each level with one recursive call, and at this depth a
// whole run stays well inside a 1 MiB stack (docs/scenes.md gives the
// figures).
inline constexpr std::size_t maxNestingLevels = 128;

// The largest scene file read, so that a huge file or a device that never
// ends is refused rather than read without bound.
inline constexpr std::size_t maxSceneBytes = std::size_t{128} * 1024 * 1024;

Scene loadScene(const std::filesystem::path& file);
Scene parseScene(std::string_view json, std::string_view fileNameForMessages);

}  // namespace tav::sim

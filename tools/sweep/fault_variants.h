// The faults a sweep injects into a scene: one failing host call at each call
// index, and one fault key on each object of the scene that has it, each as
// its own variant of the scene's JSON.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::sweep {

using SceneJson = nlohmann::ordered_json;

// The scene with `failCall` set (null: no failing call).
SceneJson withFailCall(SceneJson scene, std::optional<std::int32_t> failCall);

// Calls `run` once per fault key and object that can carry it, with a label
// ("drawingViews[0].root.children[1] fail name") and the scene with that key
// added: the host, the documents, the draft's line styles (each key of the
// collection, and the creation of each name in `createdStyles`), selected
// items, occurrences and sub-occurrences at every level, drawing views and
// model members at every level. A key the object already carries gives no
// run. Returns the number of runs.
using FaultKeyRun = std::function<void(const std::string& label, const SceneJson& scene)>;
std::int32_t forEachFaultKey(const SceneJson& scene, const std::vector<std::string>& createdStyles,
                             const FaultKeyRun& run);

}  // namespace tav::sweep

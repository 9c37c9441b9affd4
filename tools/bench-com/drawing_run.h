// One whole run of the tool over COM on a generated drawing: the harness
// (`tavrelmondix-sim.exe SCENE --com`) in a process of its own, which starts
// sehost-sim.exe itself, timed from start to end by the wall clock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "testbed/scene_generators/scale_scenes.h"
#include "tools/bench-com/round_trip_file.h"

namespace tav::benchcom {

struct Drawing {
    scenegen::ScaleFamily family = scenegen::ScaleFamily::flat;
    int parts = 0;
    // Served with a type library of Solid Edge's size (the scene's
    // com.typeLibrary "solidEdge") rather than the small one.
    bool solidEdgeLibrary = false;

    // "flat-400", "flat-400-solidEdge": the stem of its files.
    std::string stem() const;
    // "small" or "solidEdge".
    std::string_view libraryName() const;
};

// "own-colors:400" as a drawing: a kind of drawing (scenegen::familyName)
// and 1 to 32767 parts, and "@solidEdge" after it for a type library of
// Solid Edge's size ("@small": the default). Nothing for text that is not one.
std::optional<Drawing> drawingNamed(const std::string& text);

struct DrawingRun {
    Drawing drawing;
    // Both processes' start-up, the run and the result file.
    double wallSeconds = 0;
    std::int64_t hostCalls = 0;
    // The same drawing with Exit pressed at once: what the whole run spends
    // around the run itself (processes started, the host registered and
    // looked up, start-up's host calls, results written).
    double startUpSeconds = 0;
    std::int64_t startUpHostCalls = 0;
    std::string end;  // how the tool ended: "my_end" for a whole run
    ServerRoundTrips server;
    // What the tool asked of COM on its side, as the harness wrote it.
    nlohmann::ordered_json client;
};

// One harness run over COM of `scene` with the harness's `options` (the
// command-line tool's arguments last, after "--"): its wall time and its
// result file, read back. Raises std::runtime_error when the harness fails or
// leaves no result.
std::pair<double, nlohmann::ordered_json> timeHarnessRun(const std::filesystem::path& scene,
                                                         const std::filesystem::path& resultFile,
                                                         const std::vector<std::wstring>& options);
// The same for the window with ACTIONS pressed (and `extra` options).
std::pair<double, nlohmann::ordered_json> timeHarness(const std::filesystem::path& scene,
                                                      const std::wstring& actions,
                                                      const std::filesystem::path& resultFile,
                                                      std::vector<std::wstring> extra);

// Writes the drawing's scene into `folder`, runs the harness from this
// program's folder on it (its result and round trips kept beside the
// scene), and reads what the run gave. Raises std::runtime_error when the
// harness fails or leaves no result.
DrawingRun runDrawing(const Drawing& drawing, const std::filesystem::path& folder);

}  // namespace tav::benchcom

// The fault sweep: a scene run once clean, then once per failing host call
// and once per fault key on each object that has it, every run checked for a
// defined end with Solid Edge given back (run_checks.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tav::sweep {

// A variant of the scene as the sweep ran it: "failcall-17" or "key-42"
// (the 42nd fault key), and its JSON.
using VariantSink = std::function<void(const std::string& name, const std::string& sceneText)>;

struct SweepOptions {
    bool failCalls = true;
    bool faultKeys = true;
    // Every n-th call index only (1: every one), for a bounded sweep.
    std::int32_t callStride = 1;
    // Sees every variant run, for running it again elsewhere (over COM).
    VariantSink variants;
};

struct SweepFinding {
    std::string fault;  // "failCall 17" or "drawingViews[0] fail type"
    std::string problem;
};

struct SweepResult {
    std::int32_t cleanHostCalls = 0;
    std::int32_t failCallRuns = 0;
    std::int32_t faultKeyRuns = 0;
    std::vector<SweepFinding> findings;
};

// Sweeps the scene in `sceneText` (`name` names it in messages). Raises
// sim::SceneError when the loader refuses the scene.
SweepResult sweepScene(std::string_view sceneText, std::string_view name,
                       const SweepOptions& options);

}  // namespace tav::sweep

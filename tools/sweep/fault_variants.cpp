#include "tools/sweep/fault_variants.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

#include "host/sim/fault_keys.h"

namespace tav::sweep {
namespace {

namespace fault = sim::fault;

// Where a fault key goes: the JSON pointer of the object and the name of its
// fault list ("fail", or "lineStylesFail" for a draft's line styles).
struct Target {
    SceneJson::json_pointer object;
    std::string list;
    std::string label;
    std::vector<std::string> keys;
};

template <std::size_t N>
std::vector<std::string> keysOf(const std::array<std::string_view, N>& keys) {
    return {keys.begin(), keys.end()};
}

bool isObjectAt(const SceneJson& scene, const SceneJson::json_pointer& at) {
    return scene.contains(at) && scene.at(at).is_object();
}

std::string labelOf(const SceneJson::json_pointer& at) {
    // "/drawingViews/0/root" → "drawingViews[0].root"
    std::string label;
    std::string text = at.to_string();
    std::size_t start = 1;
    while (start <= text.size()) {
        const std::size_t slash = std::min(text.find('/', start), text.size());
        const std::string part = text.substr(start, slash - start);
        const bool index = !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        label += index ? "[" + part + "]" : (label.empty() ? "" : ".") + part;
        start = slash + 1;
    }
    return label;
}

void addTarget(std::vector<Target>& targets, const SceneJson::json_pointer& at,
               std::vector<std::string> keys, std::string list = "fail") {
    targets.push_back({at, list, labelOf(at), std::move(keys)});
}

// `children` below `at`, each with `keys`, at every level.
void addTree(const SceneJson& scene, std::vector<Target>& targets,
             const SceneJson::json_pointer& at, const std::vector<std::string>& keys) {
    const SceneJson::json_pointer children = at / "children";
    if (!scene.contains(children) || !scene.at(children).is_array()) {
        return;
    }
    for (std::size_t i = 0; i < scene.at(children).size(); ++i) {
        const SceneJson::json_pointer child = children / i;
        if (isObjectAt(scene, child)) {
            addTarget(targets, child, keys);
            addTree(scene, targets, child, keys);
        }
    }
}

std::vector<Target> targetsOf(const SceneJson& scene,
                              const std::vector<std::string>& createdStyles) {
    using Pointer = SceneJson::json_pointer;
    std::vector<Target> targets;
    if (isObjectAt(scene, Pointer("/host"))) {
        addTarget(targets, Pointer("/host"), keysOf(fault::application::all));
    }
    if (scene.contains("documents") && scene["documents"].is_object()) {
        for (const auto& [id, document] : scene["documents"].items()) {
            const Pointer at = Pointer("/documents") / id;
            if (!document.is_object() || !document.contains("kind")) {
                continue;
            }
            if (document["kind"] == "draft") {
                addTarget(targets, at, keysOf(fault::draft::all));
                std::vector<std::string> styleKeys = keysOf(fault::lineStyles::all);
                for (const std::string& name : createdStyles) {
                    styleKeys.push_back(std::string(fault::lineStyles::addNamedPrefix) + name);
                }
                addTarget(targets, at, std::move(styleKeys), "lineStylesFail");
                const Pointer selection = at / "selection";
                if (scene.contains(selection) && scene.at(selection).is_array()) {
                    for (std::size_t i = 0; i < scene.at(selection).size(); ++i) {
                        if (isObjectAt(scene, selection / i) &&
                            scene.at(selection / i).contains("id")) {
                            addTarget(targets, selection / i, keysOf(fault::selectedItem::all));
                        }
                    }
                }
            } else if (document["kind"] == "assembly") {
                addTarget(targets, at, keysOf(fault::assembly::all));
                const Pointer occurrences = at / "occurrences";
                if (scene.contains(occurrences) && scene.at(occurrences).is_array()) {
                    for (std::size_t i = 0; i < scene.at(occurrences).size(); ++i) {
                        if (isObjectAt(scene, occurrences / i)) {
                            addTarget(targets, occurrences / i, keysOf(fault::occurrence::all));
                            addTree(scene, targets, occurrences / i,
                                    keysOf(fault::subOccurrence::all));
                        }
                    }
                }
            }
        }
    }
    if (scene.contains("drawingViews") && scene["drawingViews"].is_array()) {
        for (std::size_t i = 0; i < scene["drawingViews"].size(); ++i) {
            const Pointer view = Pointer("/drawingViews") / i;
            if (!isObjectAt(scene, view)) {
                continue;
            }
            addTarget(targets, view, keysOf(fault::drawingView::all));
            if (isObjectAt(scene, view / "root")) {
                addTarget(targets, view / "root", keysOf(fault::modelMember::root));
                addTree(scene, targets, view / "root", keysOf(fault::modelMember::all));
            }
        }
    }
    return targets;
}

}  // namespace

SceneJson withFailCall(SceneJson scene, std::optional<std::int32_t> failCall) {
    scene["failCall"] = failCall ? SceneJson(*failCall) : SceneJson(nullptr);
    return scene;
}

std::int32_t forEachFaultKey(const SceneJson& scene, const std::vector<std::string>& createdStyles,
                             const FaultKeyRun& run) {
    // One working copy: each key is added, run and taken out again, so that
    // a large scene is never copied per run.
    SceneJson variant = scene;
    std::int32_t runs = 0;
    for (const Target& target : targetsOf(scene, createdStyles)) {
        const SceneJson::json_pointer list = target.object / target.list;
        const bool hadList = variant.contains(list);
        if (hadList && !variant.at(list).is_array()) {
            continue;
        }
        const std::string where = (target.label.empty() ? "scene" : target.label) +
                                  (target.list == "fail" ? "" : "." + target.list);
        for (const std::string& key : target.keys) {
            SceneJson& keys = variant[list];
            if (keys.is_null()) {
                keys = SceneJson::array();
            }
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
                continue;
            }
            keys.push_back(key);
            run(where + " fail " + key, variant);
            ++runs;
            variant[list].erase(variant[list].size() - 1);
        }
        if (!hadList) {
            variant.at(target.object).erase(target.list);
        }
    }
    return runs;
}

}  // namespace tav::sweep

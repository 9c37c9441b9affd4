#include "testbed/scene_generators/scale_scenes.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "testbed/scene_generators/generated_scene.h"

namespace tav::scenegen {
namespace {

using nlohmann::json;

constexpr int paletteSize = 97;
constexpr int towerDepth = 8;
constexpr int partsPerLevel = 4;
constexpr int severalViewCount = 4;

constexpr std::array<std::pair<ScaleFamily, std::string_view>, 5> names{{
    {ScaleFamily::flat, "flat"},
    {ScaleFamily::nested, "nested"},
    {ScaleFamily::ownColors, "own-colors"},
    {ScaleFamily::severalViews, "several-views"},
    {ScaleFamily::secondRun, "second-run"},
}};

// The colour value of part `index`: one of the palette, or its own.
int colorValueOf(ScaleFamily family, int index) {
    if (family == ScaleFamily::ownColors || family == ScaleFamily::secondRun) {
        return index + 1;  // 1 .. 32767: distinct, and never the scene's black
    }
    const int shade = index % paletteSize;
    return (shade * 37 % 256) + 256 * (shade * 91 % 256) + 65536 * (shade * 13 % 256);
}

// Components that the host's 0..1 scale turns back into `color` exactly.
json components(int color) {
    return {{"r", (color % 256) / 255.0},
            {"g", (color / 256 % 256) / 255.0},
            {"b", (color / 65536) / 255.0}};
}

std::string partFile(int index) {
    return "Part" + std::to_string(index) + ".par";
}

json partMember(const std::string& name) {
    return {{"type", 1}, {"name", name}};
}

struct Drawing {
    json occurrences = json::array();
    json members = json::array();
};

Drawing flatDrawing(ScaleFamily family, int parts) {
    Drawing drawing;
    for (int i = 0; i < parts; ++i) {
        const std::string file = partFile(i);
        json occurrence{{"file", "C:\\Work\\" + file}};
        const json color = components(colorValueOf(family, i));
        if (family == ScaleFamily::flat && i % 2 == 1) {
            occurrence["faceStyle"] = color;
        } else {
            occurrence["style"] = color;
        }
        drawing.occurrences.push_back(std::move(occurrence));
        drawing.members.push_back(partMember(file));
    }
    return drawing;
}

// Towers of subassemblies `towerDepth` deep, `partsPerLevel` parts on each
// level, until `parts` parts are placed.
Drawing nestedDrawing(int parts) {
    Drawing drawing;
    int placed = 0;
    for (int tower = 0; placed < parts; ++tower) {
        // Built from the deepest level up, so that each level can hold the
        // one below it.
        const int towerParts = std::min(parts - placed, towerDepth * partsPerLevel);
        const int levels = (towerParts + partsPerLevel - 1) / partsPerLevel;
        json children = json::array();
        json childMembers = json::array();
        for (int level = levels; level >= 1; --level) {
            json levelChildren = json::array();
            json levelMembers = json::array();
            const int first = placed + (level - 1) * partsPerLevel;
            const int last = std::min(first + partsPerLevel, placed + towerParts);
            for (int i = first; i < last; ++i) {
                const json color = components(colorValueOf(ScaleFamily::nested, i));
                levelChildren.push_back({{"file", "C:\\Work\\" + partFile(i)},
                                         {"color", {color["r"], color["g"], color["b"]}}});
                levelMembers.push_back(partMember(partFile(i)));
            }
            if (!children.empty()) {
                levelChildren.push_back(std::move(children[0]));
                levelMembers.push_back(std::move(childMembers[0]));
            }
            const std::string name =
                "Unit" + std::to_string(tower) + "_L" + std::to_string(level) + ".asm";
            children = json::array(
                {{{"file", "C:\\Work\\" + name}, {"children", std::move(levelChildren)}}});
            childMembers =
                json::array({{{"type", 0}, {"name", name}, {"children", std::move(levelMembers)}}});
        }
        drawing.occurrences.push_back(std::move(children[0]));
        drawing.members.push_back(std::move(childMembers[0]));
        placed += towerParts;
    }
    return drawing;
}

constexpr std::array<std::string_view, 3> edgeSuffixes{"_visible", "_hidden", "_tangent"};
constexpr std::array<std::string_view, 3> edgeKeys{"visible", "hidden", "tangent"};

// The draft and members as the first run leaves them: three styles per
// colour, and every member wearing its colour's styles.
void afterFirstRun(json& scene, int parts) {
    json& styles = scene["documents"]["D1"]["lineStyles"];
    for (int i = 0; i < parts; ++i) {
        const int color = colorValueOf(ScaleFamily::secondRun, i);
        json worn = json::object();
        for (std::size_t edge = 0; edge < edgeSuffixes.size(); ++edge) {
            const std::string name = std::to_string(color) + std::string(edgeSuffixes[edge]);
            styles.push_back({{"name", name}, {"color", color}});
            worn[std::string(edgeKeys[edge])] = name;
        }
        scene["drawingViews"][0]["root"]["children"][static_cast<std::size_t>(i)]["styles"] =
            std::move(worn);
    }
}

// The sheet shows `views` views of the same assembly.
void addViews(json& scene, int views) {
    json& sheet = scene["documents"]["D1"]["drawingViews"];
    json& drawingViews = scene["drawingViews"];
    const json first = drawingViews[0];
    for (int v = 2; v <= views; ++v) {
        json view = first;
        std::string id = std::to_string(v);
        id.insert(0, 1, 'V');
        view["id"] = id;
        sheet.push_back(view["id"]);
        drawingViews.push_back(std::move(view));
    }
}

}  // namespace

const std::vector<ScaleFamily>& scaleFamilies() {
    static const std::vector<ScaleFamily> all{ScaleFamily::flat, ScaleFamily::nested,
                                              ScaleFamily::ownColors, ScaleFamily::severalViews,
                                              ScaleFamily::secondRun};
    return all;
}

std::string_view familyName(ScaleFamily family) {
    for (const auto& [f, name] : names) {
        if (f == family) {
            return name;
        }
    }
    return "?";
}

std::optional<ScaleFamily> familyNamed(std::string_view name) {
    for (const auto& [family, n] : names) {
        if (n == name) {
            return family;
        }
    }
    return std::nullopt;
}

int viewsOf(ScaleFamily family) {
    return family == ScaleFamily::severalViews ? severalViewCount : 1;
}

json scaleScene(ScaleFamily family, int parts) {
    Drawing drawing =
        family == ScaleFamily::nested ? nestedDrawing(parts) : flatDrawing(family, parts);
    json scene = singleViewScene(std::move(drawing.occurrences), std::move(drawing.members));
    if (family == ScaleFamily::secondRun) {
        afterFirstRun(scene, parts);
    }
    addViews(scene, viewsOf(family));
    return scene;
}

}  // namespace tav::scenegen

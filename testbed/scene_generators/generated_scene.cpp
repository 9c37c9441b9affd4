#include "testbed/scene_generators/generated_scene.h"

#include <string>

namespace tav::scenegen {

using nlohmann::json;

json singleViewScene(json occurrences, json rootChildren) {
    return json{
        {"format", "tavrelmondix-scene/1"},
        {"host", {{"running", true}}},
        {"activeDocument", "D1"},
        {"documents",
         {{"D1",
           {{"kind", "draft"},
            {"drawingViews", {"V1"}},
            {"selection", json::array()},
            {"lineStyles", {{{"name", "Normal"}, {"color", 0}}}}}},
          {"A1", {{"kind", "assembly"}, {"occurrences", std::move(occurrences)}}}}},
        {"drawingViews",
         {{{"id", "V1"},
           {"model", {{"file", "C:\\Work\\Top.asm"}, {"document", "A1"}}},
           {"root", {{"children", std::move(rootChildren)}}}}}},
    };
}

json generatedScene(int subassemblies, int partsPerSubassembly) {
    json occurrences = json::array();
    json members = json::array();
    for (int s = 0; s < subassemblies; ++s) {
        const std::string assemblyName = "Unit" + std::to_string(s) + ".asm";
        json children = json::array();
        json childMembers = json::array();
        for (int p = 0; p < partsPerSubassembly; ++p) {
            // Each part file appears twice in its subassembly, in two colours.
            const std::string partName = "Part" + std::to_string(p / 2) + ".par";
            const double shade = (p % 7) / 7.0;
            children.push_back(
                {{"file", "C:\\Work\\" + partName}, {"color", {shade, 0.5, 1.0 - shade}}});
            childMembers.push_back({{"type", p % 5 == 0 ? 6 : 1}, {"name", partName}});
        }
        occurrences.push_back({{"file", "C:\\Work\\" + assemblyName}, {"children", children}});
        members.push_back({{"type", 0}, {"name", assemblyName}, {"children", childMembers}});
    }
    return singleViewScene(std::move(occurrences), std::move(members));
}

}  // namespace tav::scenegen

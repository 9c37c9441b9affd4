#include "testbed/scene_generators/batch_scene.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tav::scenegen {
namespace {

using nlohmann::json;

constexpr const char* assemblyId = "A";
constexpr const char* assemblyPath = "C:\\Work\\Batch\\Top.asm";

// Red, green, blue and a grey: 0..1 components that the host's scale turns
// back into whole colour values.
constexpr std::array<std::array<double, 3>, 4> palette{{
    {1.0, 0.0, 0.0},
    {0.0, 1.0, 0.0},
    {0.0, 0.0, 1.0},
    {128.0 / 255.0, 128.0 / 255.0, 128.0 / 255.0},
}};

// Appended rather than concatenated: GCC 12 warns falsely (-Wrestrict) on
// a short literal before a temporary string.
std::string partFile(int index) {
    std::string name(1, 'P');
    name.append(std::to_string(index)).append(".par");
    return name;
}

json assembly(int parts) {
    json occurrences = json::array();
    for (int i = 0; i < parts; ++i) {
        const auto& shade = palette[static_cast<std::size_t>(i) % palette.size()];
        const json color{{"r", shade[0]}, {"g", shade[1]}, {"b", shade[2]}};
        occurrences.push_back({{"file", "C:\\Work\\Batch\\" + partFile(i)},
                               {i % 2 == 0 ? "style" : "faceStyle", color}});
    }
    return {{"kind", "assembly"}, {"path", assemblyPath}, {"occurrences", std::move(occurrences)}};
}

json members(int parts) {
    json children = json::array();
    for (int i = 0; i < parts; ++i) {
        children.push_back({{"type", 1}, {"name", partFile(i)}});
    }
    return children;
}

json view(std::string id, const json& children) {
    return {{"id", std::move(id)},
            {"model", {{"file", assemblyPath}, {"document", assemblyId}}},
            {"root", {{"children", children}}}};
}

std::string documentId(int number) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "D%04d", number);
    return text.data();
}

void checkSizes(int documents, int sheetsPerDocument, int partsPerSheet) {
    if (documents < 1 || documents > 9999 || sheetsPerDocument < 1 || partsPerSheet < 1 ||
        partsPerSheet > 32767) {
        throw std::invalid_argument(
            "a batch has 1 to 9999 documents, at least one sheet each and 1 to 32767 parts");
    }
}

}  // namespace

std::string batchDocumentPath(int number) {
    return "C:\\Work\\Batch\\" + documentId(number) + ".dft";
}

std::vector<std::string> batchArguments(int documents) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(documents));
    for (int d = 1; d <= documents; ++d) {
        paths.push_back(batchDocumentPath(d));
    }
    return paths;
}

json batchScene(int documents, int sheetsPerDocument, int partsPerSheet) {
    checkSizes(documents, sheetsPerDocument, partsPerSheet);
    const json children = members(partsPerSheet);
    const json normalStyle = json::array({{{"name", "Normal"}, {"color", 0}}});
    json drafts = json::object();
    json views = json::array();
    for (int d = 1; d <= documents; ++d) {
        const std::string id = documentId(d);
        json sheets = json::array();
        for (int s = 1; s <= sheetsPerDocument; ++s) {
            // A view is on one sheet only, so every sheet has a view of its own.
            std::string viewId = id + "." + std::to_string(s);
            sheets.push_back({{"name", "Sheet" + std::to_string(s)}, {"drawingViews", {viewId}}});
            views.push_back(view(std::move(viewId), children));
        }
        drafts[id] = {{"kind", "draft"},
                      {"path", batchDocumentPath(d)},
                      {"open", false},
                      {"sheets", std::move(sheets)},
                      // The template every style the run creates is made from.
                      {"lineStyles", normalStyle}};
    }
    drafts[assemblyId] = assembly(partsPerSheet);
    return {{"format", "tavrelmondix-scene/1"},
            {"host", {{"running", true}}},
            {"activeDocument", nullptr},
            {"documents", std::move(drafts)},
            {"drawingViews", std::move(views)}};
}

json batchSheetScene(int sheetsPerDocument, int partsPerSheet, int sheet) {
    checkSizes(1, sheetsPerDocument, partsPerSheet);
    if (sheet < 1 || sheet > sheetsPerDocument) {
        throw std::invalid_argument("no such sheet in the batch's drafts");
    }
    json scene = batchScene(1, sheetsPerDocument, partsPerSheet);
    const std::string id = documentId(1);
    json& draft = scene["documents"][id];
    draft.erase("open");
    draft["activeSheet"] = sheet;
    draft["selection"] = json::array();
    scene["activeDocument"] = id;
    return scene;
}

}  // namespace tav::scenegen

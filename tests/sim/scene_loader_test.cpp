#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "host/sim/scene_loader.h"
#include "sim_test_scene.h"

namespace tav::sim {
namespace {

using test_support::baseScene;
using test_support::Json;

std::string refusalOf(const std::string& text) {
    try {
        parseScene(text, "s.json");
    } catch (const SceneError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(SceneLoader, LoadsEveryConformanceScene) {
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAV_CONFORMANCE_DIR)) {
        std::string name = entry.path().filename().string();
        if (name.ends_with(".scene.json")) {
            EXPECT_NO_THROW(loadScene(entry.path())) << name;
            ++loaded;
        }
    }
    EXPECT_GE(loaded, 10);
}

TEST(SceneLoader, FillsDefaultsAndResolvesReferences) {
    Json json = baseScene();
    json.erase("host");
    Scene scene = parseScene(json.dump(), "s.json");
    EXPECT_FALSE(scene.host.running);
    EXPECT_TRUE(scene.host.interactive);
    EXPECT_FALSE(scene.host.delayCompute);
    EXPECT_EQ(scene.documents[1].id, "D1");  // file order kept
    EXPECT_EQ(scene.activeDocument, 1u);
    EXPECT_EQ(scene.drawingViews[1].drawingViewType, 1);
    EXPECT_FALSE(scene.drawingViews[1].model);
    EXPECT_EQ(scene.drawingViews[0].model->document, 0u);
    const ModelMember& frame = scene.drawingViews[0].root.children[1];
    EXPECT_EQ(frame.id, "V1/2");
    EXPECT_EQ(frame.children[0].id, "hinge");
    EXPECT_EQ(frame.styles.hidden, u"Normal");
    EXPECT_FALSE(frame.templateGuard);
    const Document& draft = scene.documents[1];
    ASSERT_EQ(draft.selection.size(), 2u);
    EXPECT_EQ(draft.selection[0], (SelectionEntry{SelectionEntry::Kind::drawingView, 1}));
    EXPECT_FALSE(scene.selectedItems[draft.selection[1].index].drawingViewType);
    EXPECT_FALSE(scene.failCall);
}

struct Refusal {
    const char* what;
    std::function<void(Json&)> change;
    const char* message;
};

TEST(SceneLoader, RefusalsNameThePathAndTheProblem) {
    const Refusal refusals[] = {
        {"wrong format", [](Json& s) { s["format"] = "tavrelmondix-scene/2"; },
         "s.json: format: must be \"tavrelmondix-scene/1\""},
        {"unknown key", [](Json& s) { s["drawingViews"][0]["modle"] = nullptr; },
         "s.json: drawingViews[0].modle: unknown key (expected one of: id, drawingViewType, "
         "model, root, fail)"},
        {"missing member type",
         [](Json& s) { s["drawingViews"][0]["root"]["children"][1]["children"][0].erase("type"); },
         "s.json: drawingViews[0].root.children[1].children[0].type: is required"},
        {"fractional type",
         [](Json& s) { s["drawingViews"][0]["root"]["children"][0]["type"] = 1.5; },
         "s.json: drawingViews[0].root.children[0].type: must be a whole number from "
         "-2147483648 to 2147483647"},
        {"dangling selection", [](Json& s) { s["documents"]["D1"]["selection"][0]["ref"] = "V9"; },
         "s.json: documents.D1.selection[0].ref: no drawing view has id \"V9\""},
        {"dangling model document",
         [](Json& s) { s["drawingViews"][0]["model"]["document"] = "X"; },
         "s.json: drawingViews[0].model.document: no document has id \"X\""},
        {"duplicate view id", [](Json& s) { s["drawingViews"][1]["id"] = "V1"; },
         "s.json: drawingViews[1].id: duplicate drawing view id \"V1\""},
        {"fault key of another kind",
         [](Json& s) { s["documents"]["P1"]["fail"] = {"occurrences"}; },
         "s.json: documents.P1.fail[0]: \"occurrences\" is not a fault key of a part document "
         "(allowed: none)"},
        {"root takes no type", [](Json& s) { s["drawingViews"][1]["root"]["type"] = 0; },
         "s.json: drawingViews[1].root.type: unknown key (expected one of: children, fail, "
         "counts)"},
        {"counts of another collection",
         [](Json& s) {
             s["documents"]["D1"]["counts"] = {{"occurrences", 3}};
         },
         "s.json: documents.D1.counts.occurrences: \"occurrences\" is not a collection of a "
         "draft document (allowed: drawingViews, selectSet)"},
        {"zero failCall", [](Json& s) { s["failCall"] = 0; },
         "s.json: failCall: must be a positive call number or null"},
        {"single out of range",
         [](Json& s) {
             auto& style = s["documents"]["A1"]["occurrences"][0]["style"];
             style["single"] = true;
             style["g"] = 1e39;
         },
         "s.json: documents.A1.occurrences[0].style.g: does not fit a single-precision number"},
        {"two occurrence shapes",
         [](Json& s) { s["documents"]["A1"]["occurrences"][0]["children"] = Json::array(); },
         "s.json: documents.A1.occurrences[0]: an occurrence takes only one of \"style\", "
         "\"faceStyle\" and \"children\""},
        {"top level not an object", [](Json& s) { s = Json::array(); },
         "s.json: top level: must be an object"},
    };
    for (const Refusal& refusal : refusals) {
        Json scene = baseScene();
        refusal.change(scene);
        EXPECT_EQ(refusalOf(scene.dump()), refusal.message) << refusal.what;
    }
}

TEST(SceneLoader, RefusesADuplicateKeyAtItsPath) {
    std::string text = R"({"format": "tavrelmondix-scene/1", "activeDocument": null,
        "drawingViews": [{"id": "V1", "model": null, "root": {"children": [],
                          "children": []}}]})";
    EXPECT_EQ(refusalOf(text), "s.json: drawingViews[0].root.children: duplicate key");
}

TEST(SceneLoader, NamesLineAndColumnOfInvalidJson) {
    std::string message = refusalOf("{\n  \"format\": tru\n}");
    EXPECT_EQ(message.rfind("s.json: line 2, column ", 0), 0u) << message;
    EXPECT_NE(message.find("invalid JSON"), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(SceneLoader, RefusesAFileThatCannotBeRead) {
    EXPECT_THROW(loadScene("/nonexistent/scene.json"), SceneError);
}

}  // namespace
}  // namespace tav::sim

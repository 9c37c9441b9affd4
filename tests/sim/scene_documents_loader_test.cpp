// The scene keys of sheets, sections, documents on disk, alerts, line-style
// parents and view names: what they load into, and the refusals of each.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "host/sim/scene_loader.h"
#include "sim_test_scene.h"

namespace tav::sim {
namespace {

using test_support::baseScene;
using test_support::Json;

std::string refusalOf(const Json& scene) {
    try {
        parseScene(scene.dump(), "s.json");
    } catch (const SceneError& error) {
        return error.what();
    }
    return "(accepted)";
}

Json sheetsScene() {
    Json scene = baseScene();
    Json& draft = scene["documents"]["D1"];
    draft.erase("drawingViews");
    draft["path"] = "C:\\W\\D1.dft";
    draft["activeSheet"] = 2;
    draft["sheets"] = Json::parse(R"([{"name": "Sheet1", "drawingViews": ["V1"]},
        {"name": "Back", "section": "background", "drawingViews": ["V2"], "fail": ["name"]}])");
    return scene;
}

TEST(SceneDocuments, SheetsPathsAndFlagsLoad) {
    Json json = sheetsScene();
    json["host"]["displayAlerts"] = false;
    json["documents"]["A1"]["open"] = false;
    json["documents"]["A1"]["path"] = "C:\\W\\Top.asm";
    json["documents"]["P1"]["readOnly"] = true;
    json["documents"]["D1"]["lineStyles"][1]["parent"] = "Normal";
    json["documents"]["D1"]["lineStyles"][1]["fail"] = {"parent"};
    json["drawingViews"][0]["name"] = "Front";
    const Scene scene = parseScene(json.dump(), "s.json");
    EXPECT_TRUE(scene.describesDocuments);
    EXPECT_FALSE(scene.host.displayAlerts);
    const Document& draft = scene.documents[1];
    EXPECT_EQ(draft.path, u"C:\\W\\D1.dft");
    EXPECT_EQ(draft.activeSheet, 1u);
    ASSERT_EQ(draft.sheets.size(), 2u);
    EXPECT_EQ(draft.sheets[1].name, u"Back");
    EXPECT_EQ(draft.sheets[1].section, SectionKind::background);
    EXPECT_EQ(draft.sheets[1].drawingViews, std::vector<std::size_t>{1});
    EXPECT_TRUE(draft.sheets[1].fail.contains("name"));
    EXPECT_EQ(draft.lineStyles[1].parent, u"Normal");
    EXPECT_TRUE(draft.lineStyles[1].fail.contains("parent"));
    EXPECT_FALSE(scene.documents[0].open);
    EXPECT_TRUE(scene.documents[2].readOnly);
    EXPECT_EQ(scene.drawingViews[0].name, u"Front");
}

TEST(SceneDocuments, EachNewKeyAloneMarksTheSceneAsDescribingDocuments) {
    const std::function<void(Json&)> changes[] = {
        [](Json& s) { s["host"]["displayAlerts"] = true; },
        [](Json& s) { s["host"]["fail"] = {"documents"}; },
        [](Json& s) { s["documents"]["P1"]["path"] = "C:\\P.par"; },
        [](Json& s) { s["documents"]["P1"]["open"] = true; },
        [](Json& s) { s["documents"]["A1"]["readOnly"] = false; },
        [](Json& s) { s["documents"]["D1"]["activeSheet"] = 1; },
        [](Json& s) { s["documents"]["D1"]["fail"] = {"sheets"}; },
        [](Json& s) { s["documents"]["D1"]["lineStylesFail"] = {"remove:Normal"}; },
        [](Json& s) { s["documents"]["D1"]["lineStyles"][0]["parent"] = ""; },
        [](Json& s) { s["drawingViews"][1]["name"] = "Side"; },
    };
    for (const auto& change : changes) {
        Json json = baseScene();
        change(json);
        EXPECT_TRUE(parseScene(json.dump(), "s.json").describesDocuments) << json.dump();
    }
    Json oldFault = baseScene();
    oldFault["documents"]["D1"]["lineStylesFail"] = {"add:Normal", "item"};
    EXPECT_FALSE(parseScene(oldFault.dump(), "s.json").describesDocuments);
}

struct Refusal {
    const char* what;
    std::function<void(Json&)> change;
    const char* message;
};

TEST(SceneDocuments, RefusalsNameThePathAndTheProblem) {
    const Refusal refusals[] = {
        {"sheets and drawingViews", [](Json& s) { s["documents"]["D1"]["drawingViews"] = {"V1"}; },
         "s.json: documents.D1: a draft takes either \"sheets\" or \"drawingViews\", not both"},
        {"no sheet", [](Json& s) { s["documents"]["D1"]["sheets"] = Json::array(); },
         "s.json: documents.D1.sheets: a draft has at least one sheet"},
        {"sheet without name", [](Json& s) { s["documents"]["D1"]["sheets"][0].erase("name"); },
         "s.json: documents.D1.sheets[0].name: is required"},
        {"unknown sheet key", [](Json& s) { s["documents"]["D1"]["sheets"][0]["views"] = 1; },
         "s.json: documents.D1.sheets[0].views: unknown key (expected one of: name, section, "
         "drawingViews, fail)"},
        {"unknown section", [](Json& s) { s["documents"]["D1"]["sheets"][1]["section"] = "back"; },
         "s.json: documents.D1.sheets[1].section: must be one of \"working\", \"background\""},
        {"view on two sheets",
         [](Json& s) {
             s["documents"]["D1"]["sheets"][1]["drawingViews"] = {"V2", "V1"};
         },
         "s.json: documents.D1.sheets[1].drawingViews[1]: the drawing view \"V1\" is already on "
         "a sheet"},
        {"unknown view on a sheet",
         [](Json& s) { s["documents"]["D1"]["sheets"][0]["drawingViews"] = {"V7"}; },
         "s.json: documents.D1.sheets[0].drawingViews[0]: no drawing view has id \"V7\""},
        {"sheet fault key", [](Json& s) { s["documents"]["D1"]["sheets"][0]["fail"] = {"count"}; },
         "s.json: documents.D1.sheets[0].fail[0]: \"count\" is not a fault key of a sheet "
         "(allowed: drawingViews, name)"},
        {"active sheet past the end", [](Json& s) { s["documents"]["D1"]["activeSheet"] = 3; },
         "s.json: documents.D1.activeSheet: must be a sheet's position, 1 to 2"},
        {"active sheet zero", [](Json& s) { s["documents"]["D1"]["activeSheet"] = 0; },
         "s.json: documents.D1.activeSheet: must be a sheet's position, 1 to 2"},
        {"path not text", [](Json& s) { s["documents"]["A1"]["path"] = 3; },
         "s.json: documents.A1.path: must be a string"},
        {"open not Boolean", [](Json& s) { s["documents"]["P1"]["open"] = "no"; },
         "s.json: documents.P1.open: must be true or false"},
        {"readOnly not Boolean", [](Json& s) { s["documents"]["D1"]["readOnly"] = 1; },
         "s.json: documents.D1.readOnly: must be true or false"},
        {"shared path", [](Json& s) { s["documents"]["A1"]["path"] = "C:\\W\\d1.DFT"; },
         "s.json: documents.D1.path: the path of the document \"A1\" too"},
        {"closed active document", [](Json& s) { s["documents"]["D1"]["open"] = false; },
         "s.json: activeDocument: the active document must be open"},
        {"displayAlerts not Boolean", [](Json& s) { s["host"]["displayAlerts"] = nullptr; },
         "s.json: host.displayAlerts: must be true or false"},
        {"host fault key", [](Json& s) { s["host"]["fail"] = {"documents.count"}; },
         "s.json: host.fail[0]: \"documents.count\" is not a fault key of the host (allowed: "
         "activeDocument, put18, put73, command79, documents, putDisplayAlerts, documents.open, "
         "documents.item)"},
        {"draft fault key", [](Json& s) { s["documents"]["D1"]["fail"] = {"section"}; },
         "s.json: documents.D1.fail[0]: \"section\" is not a fault key of a draft document "
         "(allowed: activeSheet, selectSet, lineStyles, drawingViews, drawingViews.count, "
         "drawingViews.item, selectSet.count, selectSet.item, selectSet.add, selectSet.remove, "
         "selectSet.clear, open, save, close, fullName, readOnly, sections, sheets)"},
        {"assembly takes no sheets fault",
         [](Json& s) { s["documents"]["A1"]["fail"] = {"sheets"}; },
         "s.json: documents.A1.fail[0]: \"sheets\" is not a fault key of an assembly document "
         "(allowed: occurrences, occurrences.count, occurrences.item, open, save, close, "
         "fullName, readOnly)"},
        {"line styles fault key",
         [](Json& s) { s["documents"]["D1"]["lineStylesFail"] = {"remove:"}; },
         "s.json: documents.D1.lineStylesFail[0]: \"remove:\" is not a fault key of the line "
         "styles (allowed: item, add, putColor, remove, add:NAME, remove:NAME)"},
        {"line style fault key",
         [](Json& s) { s["documents"]["D1"]["lineStyles"][0]["fail"] = {"name"}; },
         "s.json: documents.D1.lineStyles[0].fail[0]: \"name\" is not a fault key of a line "
         "style (allowed: parent)"},
        {"parent not text", [](Json& s) { s["documents"]["D1"]["lineStyles"][0]["parent"] = 0; },
         "s.json: documents.D1.lineStyles[0].parent: must be a string"},
        {"view name not text", [](Json& s) { s["drawingViews"][0]["name"] = false; },
         "s.json: drawingViews[0].name: must be a string"},
        {"sheets on an assembly", [](Json& s) { s["documents"]["A1"]["sheets"] = Json::array(); },
         "s.json: documents.A1.sheets: unknown key (expected one of: kind, path, open, readOnly, "
         "occurrences, fail, counts)"},
    };
    for (const Refusal& refusal : refusals) {
        Json scene = sheetsScene();
        refusal.change(scene);
        EXPECT_EQ(refusalOf(scene), refusal.message) << refusal.what;
    }
}

TEST(SceneDocuments, AViewListedTwiceWithoutSheetsIsRefusedToo) {
    Json scene = baseScene();
    scene["documents"]["D1"]["drawingViews"] = {"V1", "V2", "V1"};
    EXPECT_EQ(refusalOf(scene),
              "s.json: documents.D1.drawingViews[2]: the drawing view \"V1\" is already on a "
              "sheet");
}

}  // namespace
}  // namespace tav::sim

#include <exception>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <pthread.h>
#endif

#include "host/sim/scene_loader.h"
#include "sim_test_scene.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/result_writer.h"

namespace tav::sim {
namespace {

using test_support::baseScene;
using test_support::Json;

std::string refusalOf(const std::function<void()>& load) {
    try {
        load();
    } catch (const SceneError& error) {
        return error.what();
    }
    return "(accepted)";
}

std::string refusalOf(const std::string& text) {
    return refusalOf([&text] { parseScene(text, "s.json"); });
}

// The scene's text with the string "RAW" replaced by `raw`, for values a
// JSON library cannot hold.
std::string withRaw(const Json& scene, const std::string& raw) {
    std::string text = scene.dump();
    return text.replace(text.find("\"RAW\""), 5, raw);
}

std::string repeated(const std::string& text, std::size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// A drawing nested `memberLevels` deep in model members below V1's root and
// `subLevels` deep in sub-occurrences below A1's one top-level subassembly.
// The part member at the deepest level pairs with the part one level above
// the deepest sub-occurrence (the top-level subassembly adds one element to
// the part's path).
std::string deeplyNestedScene(std::size_t memberLevels, std::size_t subLevels) {
    const std::string container = R"({"type": 0, "name": "S.asm", "children": [)";
    std::string members = repeated(container, memberLevels - 1) +
                          R"({"type": 1, "name": "Leaf.par", "id": "deepest"})" +
                          repeated("]}", memberLevels - 1);
    const std::string subassembly = R"({"file": "C:\\W\\S.asm", "children": [)";
    std::string occurrence = subassembly + repeated(subassembly, subLevels - 2) +
                             R"({"file": "C:\\W\\Leaf.par", "color": [1, 0, 0]}, )" + subassembly +
                             R"({"file": "C:\\W\\Deepest.par", "color": [0, 1, 0]}]})" +
                             repeated("]}", subLevels - 2) + "]}";
    return R"({"format": "tavrelmondix-scene/1", "host": {"running": true},
        "activeDocument": "D1",
        "documents": {
          "D1": {"kind": "draft", "drawingViews": ["V1"],
                 "lineStyles": [{"name": "Normal", "color": 0}]},
          "A1": {"kind": "assembly", "occurrences": [)" +
           occurrence + R"(]}},
        "drawingViews": [{"id": "V1", "model": {"file": "C:\\W\\Top.asm", "document": "A1"},
                          "root": {"children": [)" +
           members + "]}}]}";
}

std::size_t memberDepth(const Scene& scene) {
    std::size_t depth = 0;
    for (const ModelMember* m = &scene.drawingViews[0].root; !m->children.empty();
         m = &m->children.back()) {
        ++depth;
    }
    return depth;
}

std::size_t subOccurrenceDepth(const Scene& scene) {
    std::size_t depth = 0;
    for (const OccurrenceCore* o = &scene.documents[1].occurrences[0]; !o->children.empty();
         o = &o->children.back()) {
        ++depth;
    }
    return depth;
}

// Runs `work` on a thread with a stack of `bytes`; exceptions come back.
void runOnStackOf(std::size_t bytes, const std::function<void()>& work) {
    std::exception_ptr failure;
    auto guarded = [&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    };
#ifdef _WIN32
    // The tests run on the main thread, whose stack is the one the program is
    // linked with: Windows' default of 1 MiB (tests/CMakeLists.txt sets it
    // for MinGW, whose default is 2 MiB).
    (void)bytes;
    guarded();
#else
    using Guarded = decltype(guarded);
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    auto entry = [](void* job) -> void* {
        (*static_cast<Guarded*>(job))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, entry, &guarded), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
#endif
    if (failure) {
        std::rethrow_exception(failure);
    }
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
    EXPECT_FALSE(frame.edgeStylesOverridden);
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

// Each change to the base scene gives its refusal.
template <std::size_t count>
void expectRefusals(const Refusal (&refusals)[count]) {
    for (const Refusal& refusal : refusals) {
        Json scene = baseScene();
        refusal.change(scene);
        EXPECT_EQ(refusalOf(scene.dump()), refusal.message) << refusal.what;
    }
}

TEST(SceneLoader, RefusalsNameThePathAndTheProblem) {
    const Refusal refusals[] = {
        {"wrong format", [](Json& s) { s["format"] = "tavrelmondix-scene/2"; },
         "s.json: format: must be \"tavrelmondix-scene/1\""},
        {"unknown key", [](Json& s) { s["drawingViews"][0]["modle"] = nullptr; },
         "s.json: drawingViews[0].modle: unknown key (expected one of: id, name, "
         "drawingViewType, model, root, fail)"},
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
         "(allowed: open, save, close, fullName, readOnly)"},
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
        {"duplicate line style name",
         [](Json& s) {
             s["documents"]["D1"]["lineStyles"].push_back({{"name", "Normal"}, {"color", 3}});
         },
         "s.json: documents.D1.lineStyles[2].name: duplicate line style name \"Normal\""},
    };
    expectRefusals(refusals);
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

TEST(SceneLoader, RefusesADuplicateKeyInALargeObject) {
    std::string documents;
    for (int i = 0; i < 40; ++i) {
        documents += "\"P" + std::to_string(i) + "\": {\"kind\": \"part\"}, ";
    }
    std::string text = R"({"format": "tavrelmondix-scene/1", "activeDocument": null,
        "documents": {)" +
                       documents + R"("P7": {"kind": "part"}}})";
    EXPECT_EQ(refusalOf(text), "s.json: documents.P7: duplicate key");
}

TEST(SceneLoader, RefusesAFileThatCannotBeRead) {
    EXPECT_THROW(loadScene("/nonexistent/scene.json"), SceneError);
    std::string directory = refusalOf([] { loadScene(TAV_CONFORMANCE_DIR); });
    EXPECT_EQ(directory, std::string(TAV_CONFORMANCE_DIR) + ": cannot be read: it is a directory");
#ifndef _WIN32
    // A device is refused without reading it: this one would never end.
    EXPECT_EQ(refusalOf([] { loadScene("/dev/zero"); }),
              "/dev/zero: cannot be read: it is not a regular file");
#endif
}

TEST(SceneLoader, RefusesANumberBeyondADoubleWhereverItIs) {
    Json style = baseScene();
    style["documents"]["A1"]["occurrences"][0]["style"]["r"] = "RAW";
    EXPECT_EQ(refusalOf(withRaw(style, "1e400")),
              "s.json: documents.A1.occurrences[0].style.r: does not fit a double-precision "
              "number");
    Json failCall = baseScene();
    failCall["failCall"] = "RAW";
    EXPECT_EQ(refusalOf(withRaw(failCall, "-1e400")),
              "s.json: failCall: does not fit a double-precision number");
    Json inList = baseScene();
    inList["drawingViews"][0]["fail"] = {"type", "RAW"};
    EXPECT_EQ(refusalOf(withRaw(inList, "1E+999")),
              "s.json: drawingViews[0].fail[1]: does not fit a double-precision number");
}

TEST(SceneLoader, RefusesBytesAfterTheScene) {
    std::string scene = baseScene().dump();
    EXPECT_EQ(refusalOf(scene + std::string("\0garbage", 8)), "s.json: line 1, column " +
                                                                  std::to_string(scene.size() + 1) +
                                                                  ": invalid JSON: a NUL byte");
    std::string garbage = refusalOf(scene + "\n}garbage");
    EXPECT_EQ(garbage.rfind("s.json: line 2, column 1: invalid JSON: ", 0), 0u) << garbage;
    EXPECT_EQ(refusalOf(scene + " \n\t"), "(accepted)");
}

TEST(SceneLoader, KeepsEveryIdUniqueAndNonEmpty) {
    const Refusal refusals[] = {
        {"member id of a document",
         [](Json& s) { s["drawingViews"][0]["root"]["children"][0]["id"] = "A1"; },
         "s.json: drawingViews[0].root.children[0].id: \"A1\" is already the id of a document"},
        {"view id of a document", [](Json& s) { s["drawingViews"][1]["id"] = "P1"; },
         "s.json: drawingViews[1].id: \"P1\" is already the id of a document"},
        {"member index path taken by a later view's id",
         [](Json& s) { s["drawingViews"][1]["id"] = "hinge"; },
         "s.json: drawingViews[1].id: \"hinge\" is already the id of a model member"},
        {"selected item id of a member",
         [](Json& s) { s["documents"]["D1"]["selection"][1]["id"] = "V1/1"; },
         "s.json: documents.D1.selection[1].id: \"V1/1\" is already the id of a model member"},
        {"duplicate member id",
         [](Json& s) { s["drawingViews"][0]["root"]["children"][0]["id"] = "hinge"; },
         "s.json: drawingViews[0].root.children[1].children[0].id: duplicate model member id "
         "\"hinge\""},
        {"view id with a slash", [](Json& s) { s["drawingViews"][1]["id"] = "V/2"; },
         "s.json: drawingViews[1].id: a drawing view id must not hold \"/\", which separates "
         "the parts of member index paths"},
        {"empty member id", [](Json& s) { s["drawingViews"][0]["root"]["children"][0]["id"] = ""; },
         "s.json: drawingViews[0].root.children[0].id: an id must not be empty"},
        {"empty view id", [](Json& s) { s["drawingViews"][1]["id"] = ""; },
         "s.json: drawingViews[1].id: an id must not be empty"},
        {"empty selected item id", [](Json& s) { s["documents"]["D1"]["selection"][1]["id"] = ""; },
         "s.json: documents.D1.selection[1].id: an id must not be empty"},
        {"empty document id",
         [](Json& s) {
             s["documents"][""] = {{"kind", "part"}};
         },
         "s.json: documents.: an id must not be empty"},
    };
    expectRefusals(refusals);
}

TEST(SceneLoader, KeepsTheKeysOnlyTheServerActsOn) {
    Json json = baseScene();
    json["busy"] = {{"call", 3}, {"rejections", 2}};
    json["crashAtCall"] = 5;
    Scene scene = parseScene(json.dump(), "s.json");
    ASSERT_TRUE(scene.busy);
    EXPECT_EQ(scene.busy->call, 3);
    EXPECT_EQ(scene.busy->rejections, 2);
    EXPECT_EQ(scene.crashAtCall, 5);
    EXPECT_FALSE(parseScene(baseScene().dump(), "s.json").busy);

    const Refusal refusals[] = {
        {"no rejections",
         [](Json& s) {
             s["busy"] = {{"call", 3}, {"rejections", 0}};
         },
         "s.json: busy.rejections: must be a positive number"},
        {"no call",
         [](Json& s) {
             s["busy"] = {{"rejections", 1}};
         },
         "s.json: busy.call: is required"},
        {"unknown busy key",
         [](Json& s) {
             s["busy"] = {{"call", 1}, {"rejections", 1}, {"x", 1}};
         },
         "s.json: busy.x: unknown key (expected one of: call, rejections)"},
        {"crash before the first call", [](Json& s) { s["crashAtCall"] = 0; },
         "s.json: crashAtCall: must be a positive call number"},
    };
    expectRefusals(refusals);
}

TEST(SceneLoader, KeepsHowStrictAHostTheServerPlays) {
    Json json = baseScene();
    json["com"] = {{"names", "perInterface"}, {"numbers", "varied"},
                   {"errors", "deferred"},    {"stall", {{"call", 40}, {"ms", 8000}}},
                   {"classIds", "separate"},  {"byRef", "declared"},
                   {"arrays", "r4"},          {"typeLibrary", "solidEdge"},
                   {"busyKinds", "all"}};
    const Scene scene = parseScene(json.dump(), "s.json");
    EXPECT_EQ(scene.com.classIds, ComStrictness::ClassIds::separate);
    EXPECT_EQ(scene.com.byRef, ComStrictness::ByRef::declared);
    EXPECT_EQ(scene.com.arrays, ComStrictness::Arrays::r4);
    EXPECT_EQ(scene.com.typeLibrary, ComStrictness::TypeLibrary::solidEdge);
    EXPECT_EQ(scene.com.busyKinds, ComStrictness::BusyKinds::all);
    EXPECT_EQ(scene.com.names, ComStrictness::Names::perInterface);
    EXPECT_EQ(scene.com.numbers, ComStrictness::Numbers::varied);
    EXPECT_EQ(scene.com.errors, ComStrictness::Errors::deferred);
    ASSERT_TRUE(scene.com.stall);
    EXPECT_EQ(scene.com.stall->call, 40);
    EXPECT_EQ(scene.com.stall->ms, 8000);

    json["com"] = Json::object();
    const Scene lenient = parseScene(json.dump(), "s.json");
    EXPECT_EQ(lenient.com.names, ComStrictness::Names::shared);
    EXPECT_EQ(lenient.com.numbers, ComStrictness::Numbers::exact);
    EXPECT_EQ(lenient.com.errors, ComStrictness::Errors::exception);
    EXPECT_FALSE(lenient.com.stall);
    EXPECT_EQ(lenient.com.classIds, ComStrictness::ClassIds::same);
    EXPECT_EQ(lenient.com.byRef, ComStrictness::ByRef::exact);
    EXPECT_EQ(lenient.com.arrays, ComStrictness::Arrays::r8);
    EXPECT_EQ(lenient.com.typeLibrary, ComStrictness::TypeLibrary::small);
    EXPECT_EQ(lenient.com.busyKinds, ComStrictness::BusyKinds::invoke);

    const Refusal refusals[] = {
        {"an unknown numbering",
         [](Json& s) {
             s["com"] = {{"names", "perClass"}};
         },
         "s.json: com.names: must be one of \"shared\", \"perInterface\""},
        {"an unknown error form",
         [](Json& s) {
             s["com"] = {{"errors", "silent"}};
         },
         "s.json: com.errors: must be one of \"exception\", \"deferred\", \"direct\""},
        {"an unknown key",
         [](Json& s) {
             s["com"] = {{"retries", 3}};
         },
         "s.json: com.retries: unknown key (expected one of: names, numbers, errors, stall, "
         "classIds, byRef, arrays, typeLibrary, busyKinds)"},
        {"an unknown array element type",
         [](Json& s) {
             s["com"] = {{"arrays", "i4"}};
         },
         "s.json: com.arrays: must be one of \"r8\", \"r4\", \"variant\""},
        {"an unknown library size",
         [](Json& s) {
             s["com"] = {{"typeLibrary", "large"}};
         },
         "s.json: com.typeLibrary: must be one of \"small\", \"solidEdge\""},
        {"a stall of negative time",
         [](Json& s) {
             s["com"] = {{"stall", {{"call", 2}, {"ms", -1}}}};
         },
         "s.json: com.stall.ms: must be a number of milliseconds, 0 or more"},
        {"a stall before the first call",
         [](Json& s) {
             s["com"] = {{"stall", {{"call", 0}, {"ms", 10}}}};
         },
         "s.json: com.stall.call: must be a positive call number"},
    };
    expectRefusals(refusals);
}

TEST(SceneLoader, LoadsNestingUpToTheLimit) {
    Scene scene = parseScene(deeplyNestedScene(maxNestingLevels, maxNestingLevels), "s.json");
    EXPECT_EQ(memberDepth(scene), maxNestingLevels);
    EXPECT_EQ(subOccurrenceDepth(scene), maxNestingLevels);
    EXPECT_EQ(scene.drawingViews[0].root.children[0].id, "V1/1");
}

TEST(SceneLoader, RefusesNestingBeyondTheLimit) {
    const std::string tooDeep = ": model members and sub-occurrences may nest at most " +
                                std::to_string(maxNestingLevels) + " levels deep";
    EXPECT_EQ(
        refusalOf(deeplyNestedScene(maxNestingLevels + 1, 2)),
        "s.json: drawingViews[0].root" + repeated(".children[0]", maxNestingLevels + 1) + tooDeep);
    EXPECT_EQ(refusalOf(deeplyNestedScene(1, maxNestingLevels + 1)),
              "s.json: documents.A1.occurrences[0]" +
                  repeated(".children[0]", maxNestingLevels - 1) + ".children[1].children[0]" +
                  tooDeep);
}

TEST(SceneLoader, RefusesFarDeeperNestingWithoutExhaustingTheStack) {
    // Far beyond any stack if the loader recursed once per level.
    const std::size_t levels = 200000;
    for (const std::string& text : {deeplyNestedScene(levels, 2), deeplyNestedScene(1, levels)}) {
        std::string refusal = refusalOf(text);
        EXPECT_NE(refusal.find(" levels deep"), std::string::npos) << refusal.substr(0, 200);
    }
}

// The nesting limit is one the tool's recursive walks survive on the smallest
// stack it runs with: Windows' default of 1 MiB for the main thread.
TEST(DeepScenes, AWholeRunAtTheNestingLimitFitsA1MiBStack) {
    const std::string text = deeplyNestedScene(maxNestingLevels, maxNestingLevels);
    session::SessionOutcome outcome;
    std::string result;
    runOnStackOf(std::size_t{1} << 20, [&] {
        outcome = session::runSession(parseScene(text, "deep.json"), {session::Action::process});
        std::ostringstream written;
        result::writeResultFile(written, outcome);
        result = written.str();
    });
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    ASSERT_EQ(outcome.partMembers.size(), 1u);
    EXPECT_EQ(outcome.partMembers[0].id, "deepest");
    EXPECT_EQ(outcome.partMembers[0].visible, "255_visible");  // paired at the deepest member
    EXPECT_FALSE(result.empty());
}

}  // namespace
}  // namespace tav::sim

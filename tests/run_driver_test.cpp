// A press of Process as the user and the document see it: which views are
// worked on, the captions and progress bar, the selection afterwards, and
// the host's state after a run that ends well or badly.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/scenes.h"

namespace tav::test {
namespace {

namespace ids = host::dispatch;
using testing::ElementsAre;
using testing::IsEmpty;

json redBolt() {
    return {{"file", "C:\\Work\\Bolt.par"}, {"style", {{"r", 1}, {"g", 0}, {"b", 0}}}};
}
json boltMember() {
    return {{"type", 1}, {"name", "Bolt.par"}};
}

// Three views of A1 on the sheet; the test sets their selection and models.
json threeViewScene() {
    json scene = drawingScene({redBolt()}, {boltMember()});
    json view = scene["drawingViews"][0];
    scene["drawingViews"] = json::array();
    for (const char* id : {"V1", "V2", "V3"}) {
        view["id"] = id;
        scene["drawingViews"].push_back(view);
    }
    scene["documents"]["D1"]["drawingViews"] = {"V1", "V2", "V3"};
    return scene;
}

std::vector<json> selectSetCalls(const session::SessionOutcome& outcome) {
    std::vector<json> calls;
    for (const json& e : eventsOf(outcome, "host")) {
        if (e["object"] == "selectSet") {
            calls.push_back({e["member"], e["args"]});
        }
    }
    return calls;
}

TEST(Selection, NothingSelectedWorksOnEveryViewAndEmptiesTheSelectionAfterwards) {
    const auto outcome = run(threeViewScene());
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(selectSetCalls(outcome),
              (std::vector<json>{{4, {"V1"}}, {4, {"V2"}}, {4, {"V3"}}, {6, json::array()}}));
    EXPECT_THAT(outcome.selection, IsEmpty());
    EXPECT_THAT(captionsOf(outcome, "lblVista"),
                ElementsAre("Select Drawing Views to update", "Working", "Processing View 1 to 3",
                            "Processing View 2 to 3", "Processing View 3 to 3"));
}

TEST(Selection, UserSelectionLosesWhatIsNoUsableViewAndStaysSo) {
    json scene = threeViewScene();
    scene["drawingViews"][1]["drawingViewType"] = 5;
    scene["documents"]["D1"]["selection"] = {
        {{"ref", "V1"}},
        {{"id", "dim1"}, {"type", 1234}, {"drawingViewType", nullptr}},
        {{"ref", "V2"}},
        {{"ref", "V3"}},
    };
    const auto outcome = run(scene);
    EXPECT_EQ(selectSetCalls(outcome), (std::vector<json>{{5, {3}}, {5, {2}}}));
    EXPECT_THAT(outcome.selection, ElementsAre("V1", "V3"));
    EXPECT_THAT(captionsOf(outcome, "lblVista"),
                ElementsAre("Select Drawing Views to update", "Working", "Processing View 1 to 2",
                            "Processing View 2 to 2"));
}

TEST(Selection, OnlyNonViewItemsSelectedEndsNormallyWithNothingToDo) {
    json scene = threeViewScene();
    scene["documents"]["D1"]["selection"] = {
        {{"id", "dim1"}, {"type", 1234}, {"drawingViewType", nullptr}}};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(selectSetCalls(outcome), (std::vector<json>{{5, {1}}}));  // never cleared
    EXPECT_THAT(outcome.commands, ElementsAre(32876));
    EXPECT_THAT(createdStyles(outcome), IsEmpty());
}

TEST(Selection, UnreadableItemPropertiesKeepTheItemAsTolerated) {
    json scene = threeViewScene();
    scene["drawingViews"][0]["fail"] = {"type"};
    scene["drawingViews"][1]["fail"] = {"drawingViewType"};
    scene["documents"]["D1"]["selection"] = {{{"ref", "V1"}}, {{"ref", "V2"}}};
    const auto outcome = run(scene);
    EXPECT_THAT(outcome.selection, ElementsAre("V1", "V2"));
    EXPECT_EQ(stylesOf(outcome, "V1/1"), "255_visible|255_hidden|255_tangent");
}

TEST(Selection, AnUnreadableSelectionCountIsTakenAsNothingSelected) {
    json scene = threeViewScene();
    scene["documents"]["D1"]["selection"] = {{{"ref", "V2"}}};
    scene["documents"]["D1"]["fail"] = {"selectSet.count"};
    const auto outcome = run(scene);
    // Every later count fails too, so nothing is filtered or processed; the
    // run still ends normally and empties the selection it meant to make.
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(selectSetCalls(outcome).back(), (json{6, json::array()}));
    EXPECT_TRUE(outcome.interactive);
}

TEST(Selection, CountsPast32767BoundNoLoopAndTheRunEnds) {
    json scene = threeViewScene();
    scene["documents"]["D1"]["counts"] = {{"selectSet", 40000}};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_THAT(captionsOf(outcome, "lblVista"),
                ElementsAre("Select Drawing Views to update", "Working"));
    EXPECT_THAT(outcome.commands, ElementsAre(32876));
}

TEST(Views, ModelFileTestIgnoresCaseAndSkipsOtherFiles) {
    json scene = threeViewScene();
    scene["documents"]["P1"] = {{"kind", "part"}};
    scene["drawingViews"][0]["model"] = {{"file", "C:\\Work\\TOP.ASM"}, {"document", "A1"}};
    scene["drawingViews"][1]["model"] = {{"file", "C:\\Work\\Bolt.par"}, {"document", "P1"}};
    scene["drawingViews"][2]["model"] = {{"file", "sm"}, {"document", "P1"}};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(stylesOf(outcome, "V1/1"), "255_visible|255_hidden|255_tangent");
    EXPECT_EQ(stylesOf(outcome, "V2/1"), "Normal|Normal|Normal");
    EXPECT_THAT(captionsOf(outcome, "lblPieza"),
                ElementsAre("Processing SubOccurrences...", "Processing ModelMembers...",
                            "Processing Part 1 to 1"));
}

TEST(Views, ViewsWithoutModelAreSkippedUntilOneHasAModelThenTheyEndTheRun) {
    json scene = threeViewScene();
    scene["drawingViews"][0]["model"] = nullptr;
    scene["drawingViews"][2]["model"] = nullptr;
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_THAT(captionsOf(outcome, "lblVista"),
                ElementsAre("Select Drawing Views to update", "Working", "Processing View 1 to 3",
                            "Processing View 2 to 3", "Processing View 3 to 3"));
    EXPECT_EQ(stylesOf(outcome, "V2/1"), "255_visible|255_hidden|255_tangent");
    ASSERT_EQ(messagesOf(outcome).size(), 1u);
    EXPECT_EQ(messagesOf(outcome)[0], "Error -2147467259: No model reference");
    // The host is given back: the selection the run made is emptied, the two
    // switches are restored, and the closing command is not started.
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
    EXPECT_THAT(outcome.commands, IsEmpty());
    EXPECT_THAT(outcome.selection, IsEmpty());
}

TEST(Views, FatalErrorKeepsAUsersSelectionAndStillRestoresTheHost) {
    json scene = threeViewScene();
    scene["documents"]["D1"]["selection"] = {{{"ref", "V1"}}, {{"ref", "V2"}}};
    scene["documents"]["A1"]["occurrences"][0]["fail"] = {"file"};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_EQ(messagesOf(outcome).at(0), "Error -2147467259: Simulated failure: file");
    EXPECT_THAT(outcome.selection, ElementsAre("V1", "V2"));
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
    for (const json& e : eventsOf(outcome, "host")) {
        EXPECT_NE(e["member"], 6) << "a user's selection is never cleared";
    }
}

TEST(Views, AFailingClosingStepInStrictModeEndsTheRunAndIsRetriedOnRestore) {
    json scene = threeViewScene();
    scene["host"]["fail"] = {"command79"};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_EQ(messagesOf(outcome).at(0), "Error -2147467259: Simulated failure: command79");
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
}

TEST(Views, AFailedCallBeforeTheFirstModelReferenceIsSkipped) {
    json scene = threeViewScene();
    // Fail the put of delayCompute that starts the run: no view has yielded
    // a model reference yet, so the failure is skipped.
    int holdDelayCompute = 0;
    for (const result::Event& event : run(scene).events) {
        const auto* e = std::get_if<result::HostEvent>(&event);
        if (e != nullptr && e->object == "host" && e->member == ids::application::delayCompute &&
            e->payload == true) {
            holdDelayCompute = e->call;
            break;
        }
    }
    ASSERT_GT(holdDelayCompute, 0);
    scene["failCall"] = holdDelayCompute;
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    const auto host = eventsOf(outcome, "host");
    EXPECT_EQ(host.at(4), (json{{"host", "put"},
                                {"object", "host"},
                                {"member", ids::application::delayCompute},
                                {"value", true},
                                {"ok", false}}));
    EXPECT_EQ(stylesOf(outcome, "V3/1"), "255_visible|255_hidden|255_tangent");
}

TEST(Progress, BarStepsOncePerMemberColoredOrNot) {
    json members = json::array();
    for (int i = 0; i < 120; ++i) {
        members.push_back({{"type", 1}, {"name", "Spare" + std::to_string(i) + ".par"}});
    }
    const auto outcome = run(drawingScene(json::array(), members));
    EXPECT_EQ(outcome.window.progress().min, 0.0f);
    EXPECT_EQ(outcome.window.progress().max, 120.0f);
    EXPECT_EQ(outcome.window.progress().value, 120.0f);
    std::vector<std::string> partCaptions;
    for (const std::string& caption : captionsOf(outcome, "lblPieza")) {
        if (caption.starts_with("Processing Part ")) {
            partCaptions.push_back(caption);
        }
    }
    ASSERT_EQ(partCaptions.size(), 120u);
    EXPECT_EQ(partCaptions.front(), "Processing Part 1 to 120");
    EXPECT_EQ(partCaptions.back(), "Processing Part 120 to 120");
    EXPECT_THAT(createdStyles(outcome), IsEmpty());
}

TEST(Progress, EachViewStartsTheBarAgainEvenWithoutMembers) {
    json scene = threeViewScene();
    scene["drawingViews"][1]["root"]["children"] = json::array();
    const auto outcome = run(scene);
    std::vector<json> bar;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "pb" && e["property"] != "value") {
            bar.push_back(e["value"]);
        }
    }
    EXPECT_EQ(bar, (std::vector<json>{0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(outcome.window.progress().value, 1.0f);
}

}  // namespace
}  // namespace tav::test

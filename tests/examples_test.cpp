// The bundled examples do what their names promise.
#include <sstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/sim/scene_loader.h"
#include "testbed/result_file/result_writer.h"
#include "tests/support/scenes.h"

namespace tav::test {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

session::SessionOutcome runExample(const std::string& name,
                                   const std::string& actions = "process") {
    return session::runSession(sim::loadScene(std::string(TAV_EXAMPLES) + "/" + name),
                               session::parseActions(actions));
}

TEST(Examples, GearboxColorsEveryPartWithAColorInTheSelectedAssemblyViews) {
    const auto outcome = runExample("gearbox.scene.json");
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(outcome.heldReferences, 0);
    // The dimension and the 2D view leave the user's selection; the part view
    // stays selected but is skipped.
    EXPECT_THAT(outcome.selection, ElementsAre("front", "right", "housing"));
    EXPECT_EQ(captionsOf(outcome, "lblVista").back(), "Processing View 3 to 3");
    std::size_t changed = 0;
    for (std::size_t i = 0; i < outcome.partMembers.size(); ++i) {
        const auto& after = outcome.partMembers[i];
        const auto& before = outcome.partMembersBefore[i];
        const bool same = after.visible == before.visible && after.hidden == before.hidden &&
                          after.tangent == before.tangent;
        changed += same ? 0 : 1;
        if (after.view == "front" || after.view == "right") {
            EXPECT_EQ(same, after.name == "BreatherPlug.par") << after.view << " " << after.name;
        } else {
            EXPECT_TRUE(same) << "views not processed stay as they were: " << after.id;
        }
    }
    EXPECT_GT(changed, 20u);
    // The red style the drawing already had is used as it is.
    for (const auto& style : outcome.lineStyles) {
        if (style.name == "255_visible") {
            EXPECT_FALSE(style.templateName.has_value());
        }
    }
}

// A busy or crashing host and a strict one act over COM only: in process the
// run is the same, event for event.
TEST(Examples, TheKeysThatActOverComOnlyChangeNothingInProcess) {
    const std::string gearbox = std::string(TAV_EXAMPLES) + "/gearbox.scene.json";
    sim::Scene strict = sim::loadScene(gearbox);
    strict.busy = sim::BusyHost{5, 3};
    strict.crashAtCall = 40;
    strict.com.names = sim::ComStrictness::Names::perInterface;
    strict.com.numbers = sim::ComStrictness::Numbers::varied;
    strict.com.errors = sim::ComStrictness::Errors::direct;
    strict.com.stall = sim::ComStrictness::Stall{20, 8000};
    std::stringstream plainResult;
    std::stringstream strictResult;
    result::writeResultFile(plainResult, runExample("gearbox.scene.json"));
    result::writeResultFile(strictResult,
                            session::runSession(std::move(strict), {session::Action::process}));
    EXPECT_EQ(strictResult.str(), plainResult.str());
}

TEST(Examples, EmptySelectionIsFilledByTheRunAndEmptiedAfterIt) {
    const auto outcome = runExample("empty-selection.scene.json");
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_THAT(outcome.selection, IsEmpty());
    EXPECT_THAT(
        createdStyles(outcome),
        ElementsAre("6710886_visible", "6710886_hidden", "6710886_tangent", "3355596_visible",
                    "3355596_hidden", "3355596_tangent", "12566463_visible", "12566463_hidden",
                    "12566463_tangent", "3355443_visible", "3355443_hidden", "3355443_tangent"));
}

TEST(Examples, SheetsOnDiskColorsTheActiveSheetsSelectedViewOnly) {
    const auto outcome = runExample("sheets-on-disk.scene.json");
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(outcome.heldReferences, 0);
    EXPECT_THAT(outcome.selection, ElementsAre("top"));
    for (std::size_t i = 0; i < outcome.partMembers.size(); ++i) {
        const auto& after = outcome.partMembers[i];
        const bool changed = after.visible != outcome.partMembersBefore[i].visible;
        EXPECT_EQ(changed, after.view == "top") << after.view << " " << after.name;
    }
    ASSERT_TRUE(outcome.documentFields);
    ASSERT_EQ(outcome.documents.size(), 3u);
    EXPECT_EQ(outcome.documents[0].activeSheet, 2);
    EXPECT_EQ(outcome.documents[0].unsaved, true);
    EXPECT_FALSE(outcome.documents[1].open);
}

TEST(Examples, StartUpRefusalsEachShowTheirMessage) {
    EXPECT_THAT(messagesOf(runExample("no-solid-edge.scene.json")),
                ElementsAre("A SE Draft file from an ASM must be open"));
    EXPECT_THAT(messagesOf(runExample("assembly-active.scene.json")),
                ElementsAre("A SE Draft file from an ASM must be open"));
    EXPECT_THAT(messagesOf(runExample("no-drawing-views.scene.json")),
                ElementsAre("There are no Drawing Views in this Sheet. Exiting."));
}

TEST(Examples, FatalErrorLeavesSolidEdgeUsable) {
    const auto outcome = runExample("fatal-error.scene.json");
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
    EXPECT_THAT(outcome.selection, IsEmpty());
    EXPECT_THAT(messagesOf(outcome), ElementsAre("Error -2147467259: No model reference"));
    EXPECT_THAT(
        createdStyles(outcome),
        ElementsAre("10053171_visible", "10053171_hidden", "10053171_tangent", "3381708_visible",
                    "3381708_hidden", "3381708_tangent", "5855577_visible", "5855577_hidden",
                    "5855577_tangent", "12566463_visible", "12566463_hidden", "12566463_tangent"))
        << "work done before the error stays";
}

}  // namespace
}  // namespace tav::test

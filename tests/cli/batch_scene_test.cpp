// The generated batch that the benchmarks run: every Draft on disk is opened,
// every sheet coloured, saved and closed; a Draft of it open on one sheet is
// what the window colours.
#include <gtest/gtest.h>

#include "scenegen/batch_scene.h"
#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

TEST(GeneratedBatch, EveryDraftIsOpenedColouredSavedAndClosed) {
    const result::Outcome outcome =
        runCli(scenegen::batchScene(3, 2, 4), scenegen::batchArguments(3));
    ASSERT_TRUE(outcome.cli);
    EXPECT_EQ(outcome.cli->exitCode, 0);
    for (const char* id : {"D0001", "D0002", "D0003"}) {
        const sim::DocumentState& draft = documentOf(outcome, id);
        EXPECT_FALSE(draft.open) << id;
        EXPECT_EQ(draft.saves, 1) << id;
    }
    ASSERT_EQ(outcome.partMembers.size(), 3u * 2u * 4u);
    for (const sim::PartMemberState& member : outcome.partMembers) {
        EXPECT_NE(member.visible, "Normal") << member.id;
    }
    EXPECT_EQ(memberStyles(outcome, "D0002.2/1"), "255_visible|255_hidden|255_tangent");
    EXPECT_EQ(memberStyles(outcome, "D0002.2/4"), "8421504_visible|8421504_hidden|8421504_tangent");
}

TEST(GeneratedBatch, ArgumentsArePathsOfTheDrafts) {
    EXPECT_EQ(
        scenegen::batchArguments(2),
        (std::vector<std::string>{"C:\\Work\\Batch\\D0001.dft", "C:\\Work\\Batch\\D0002.dft"}));
}

TEST(GeneratedBatch, TheWindowColoursTheActiveSheetOfOneDraft) {
    const session::SessionOutcome outcome = run(scenegen::batchSheetScene(3, 4, 2));
    EXPECT_EQ(result::endName(outcome.end), "my_end");
    for (const sim::PartMemberState& member : outcome.partMembers) {
        const bool onSheet2 = member.view == "D0001.2";
        EXPECT_EQ(member.visible != "Normal", onSheet2) << member.id;
    }
}

}  // namespace
}  // namespace tav::test

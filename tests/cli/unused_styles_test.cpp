// --remove-unused-styles: after the run, the tool's own styles that no
// member of any drawing view uses go; every other style stays, a refused
// removal is reported, and a dry run lists what would go.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using Args = std::vector<std::string>;

json lineStyle(const std::string& name, std::int32_t color = 0) {
    return {{"name", name}, {"color", color}};
}

// Gearbox.dft holding styles of the tool's own that are unused (65280),
// used only on the kind-5 view V2 that no run processes (777_tangent), and
// used only on the background sheet (999_visible), and one of the user's
// that nothing uses.
json gearboxWithOldStyles() {
    json scene = gearboxDrafts();
    scene["documents"]["D1"]["lineStyles"] = {lineStyle("Normal"),
                                              lineStyle("65280_visible", 65280),
                                              lineStyle("65280_hidden", 65280),
                                              lineStyle("65280_tangent", 65280),
                                              lineStyle("777_tangent", 777),
                                              lineStyle("999_visible", 999),
                                              lineStyle("Unused by anyone"),
                                              lineStyle("0x255_visible")};
    scene["drawingViews"][1]["root"]["children"][0]["styles"] = {
        {"visible", "Normal"}, {"hidden", "Normal"}, {"tangent", "777_tangent"}};
    scene["drawingViews"][3]["root"]["children"][0]["styles"] = {
        {"visible", "999_visible"}, {"hidden", "Normal"}, {"tangent", "Normal"}};
    return scene;
}

const Args gearbox{"C:\\Work\\Gearbox.dft"};

Args with(Args options, const Args& files = gearbox) {
    options.insert(options.end(), files.begin(), files.end());
    return options;
}

TEST(CliUnusedStyles, OnlyTheToolsOwnStylesThatNoViewOnAnySheetUsesAreRemoved) {
    const result::Outcome outcome =
        runCli(gearboxWithOldStyles(), with({"--remove-unused-styles"}));
    ASSERT_TRUE(outcome.cli);
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_THAT(
        documentCalls(outcome),
        ElementsAre("lineStyles Remove [\"65280_visible\"]", "lineStyles Remove [\"65280_hidden\"]",
                    "lineStyles Remove [\"65280_tangent\"]", "document:D1 Save []"));
    EXPECT_THAT(lineStyleNames(documentOf(outcome, "D1")),
                ElementsAre("Normal", "777_tangent", "999_visible", "Unused by anyone",
                            "0x255_visible", "255_visible", "255_hidden", "255_tangent",
                            "16711680_visible", "16711680_hidden", "16711680_tangent"));
    EXPECT_THAT(outcome.cli->stdoutLines,
                Contains(HasSubstr("6 styles created; 3 unused styles removed; saved")));
}

TEST(CliUnusedStyles, ADryRunListsWhatWouldGoAndKeepsOneReportRowPerMember) {
    const result::Outcome dry =
        runCli(gearboxWithOldStyles(),
               with({"--remove-unused-styles", "--dry-run", "--report", "Z:\\tmp\\dry.csv"}));
    EXPECT_EQ(dry.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(dry), IsEmpty());
    EXPECT_EQ(lineStyleNames(documentOf(dry, "D1")).size(), 8U);
    EXPECT_THAT(dry.cli->stdoutLines,
                AllOf(Contains(HasSubstr("3 unused styles would be removed; dry run")),
                      Contains("  would remove line style \"65280_visible\""),
                      Contains("  would remove line style \"65280_hidden\""),
                      Contains("  would remove line style \"65280_tangent\"")));
    ASSERT_TRUE(dry.cli->report);
    EXPECT_EQ(dry.cli->report->size(), 3U);  // the header, V1's bolt, V3's plate
}

TEST(CliUnusedStyles, ADryRunOfAResetCountsTheStylesTheMembersWouldLeave) {
    const json before = gearboxDrafts();
    const json coloured = sceneAfter(before, runCli(before, gearbox));
    const result::Outcome dry =
        runCli(coloured, with({"--reset", "--remove-unused-styles", "--dry-run"}));
    EXPECT_THAT(dry.cli->stdoutLines,
                AllOf(Contains(HasSubstr("2 parts (2 reset); 6 unused styles would be removed")),
                      Contains("  would remove line style \"255_visible\""),
                      Contains("  would remove line style \"16711680_tangent\"")));
    EXPECT_THAT(documentCalls(dry), IsEmpty());
}

TEST(CliUnusedStyles, AResetThenRemovalLeavesTheDraftAsItWasBeforeColouring) {
    const json before = gearboxDrafts();
    const json coloured = sceneAfter(before, runCli(before, gearbox));
    EXPECT_EQ(lineStyleNames(documentOf(runCli(coloured, with({"--dry-run"})), "D1")).size(), 7U);
    const result::Outcome outcome = runCli(coloured, with({"--reset", "--remove-unused-styles"}));
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_THAT(lineStyleNames(documentOf(outcome, "D1")), ElementsAre("Normal"));
    EXPECT_EQ(memberStyles(outcome, "V1/1"), "Normal|Normal|Normal");
    EXPECT_EQ(memberStyles(outcome, "V3/1"), "Normal|Normal|Normal");
    EXPECT_THAT(outcome.cli->stdoutLines,
                Contains(HasSubstr("(2 reset); 6 unused styles removed; saved")));
}

TEST(CliUnusedStyles, ARefusedRemovalIsReportedAndTheRestGoOn) {
    json scene = gearboxWithOldStyles();
    scene["documents"]["D1"]["lineStylesFail"] = {"remove:65280_hidden"};
    const result::Outcome outcome = runCli(scene, with({"--remove-unused-styles"}));
    EXPECT_EQ(outcome.cli->exitCode, 0);  // the document was processed
    EXPECT_THAT(documentCalls(outcome),
                ElementsAre("lineStyles Remove [\"65280_visible\"]",
                            HasSubstr("lineStyles Remove [\"65280_hidden\"] failed"),
                            "lineStyles Remove [\"65280_tangent\"]", "document:D1 Save []"));
    EXPECT_THAT(lineStyleNames(documentOf(outcome, "D1")), Contains("65280_hidden"));
    EXPECT_THAT(outcome.cli->stdoutLines,
                Contains(AllOf(HasSubstr("2 unused styles removed; line style \"65280_hidden\" "
                                         "not removed: error "),
                               HasSubstr("; saved"))));
}

TEST(CliUnusedStyles, WhenTheStylesInUseCannotAllBeReadNoneIsRemoved) {
    json scene = gearboxWithOldStyles();
    scene["drawingViews"][3]["fail"] = {"modelMembers"};  // the background sheet's view
    const result::Outcome outcome = runCli(scene, with({"--remove-unused-styles"}));
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(outcome), ElementsAre("document:D1 Save []"));
    EXPECT_THAT(outcome.cli->stdoutLines,
                Contains(HasSubstr("no unused style removed: which styles are in use cannot be "
                                   "read: error ")));
    EXPECT_THAT(outcome.cli->stdoutLines, Not(Contains(HasSubstr("would remove"))));
}

}  // namespace
}  // namespace tav::test

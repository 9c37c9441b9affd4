// --reset: coloured edges get back the styles their colours were made from,
// following "Parent" through styles of the tool's own; an edge whose origin
// is lost keeps its style and the document says so.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/own_style_names.h"
#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using Args = std::vector<std::string>;

constexpr const char* plain = "Normal|Normal|Normal";
constexpr const char* drawn = "Wide|Dash|Thin";
const Args bothDrafts{"C:\\Work\\Gearbox.dft", "C:\\Work\\Pump.dft"};

Args with(Args options, const Args& files = bothDrafts) {
    options.insert(options.end(), files.begin(), files.end());
    return options;
}

// The gearbox with its bolts drawn in styles of the user's own, which the
// tool takes as templates for the styles it creates.
json styledGearbox() {
    json scene = gearboxDrafts();
    const json styles = {{{"name", "Normal"}, {"color", 0}},
                         {{"name", "Wide"}, {"color", 0}},
                         {{"name", "Dash"}, {"color", 0}},
                         {{"name", "Thin"}, {"color", 0}}};
    scene["documents"]["D1"]["lineStyles"] = styles;
    scene["documents"]["D2"]["lineStyles"] = styles;
    for (json& view : scene["drawingViews"]) {
        for (json& member : view["root"]["children"]) {
            if (member["name"] == "Bolt.par") {
                member["styles"] = {{"visible", "Wide"}, {"hidden", "Dash"}, {"tangent", "Thin"}};
            }
        }
    }
    return scene;
}

TEST(OwnStyleNames, AreAColourValueAndAnEdgeKindExactly) {
    const auto kindOf = [](std::u16string_view name) -> int {
        const auto own = engine::parseOwnStyleName(name);
        return own ? static_cast<int>(own->kind) : -1;
    };
    EXPECT_EQ(kindOf(u"255_visible"), 0);
    EXPECT_EQ(kindOf(u"0_hidden"), 1);
    EXPECT_EQ(kindOf(u"16777215_tangent"), 2);
    EXPECT_EQ(engine::parseOwnStyleName(u"16777215_tangent")->color, 16777215);
    EXPECT_EQ(engine::parseOwnStyleName(u"000255_visible")->color, 255);  // digits of 255
    for (const std::u16string_view other :
         {u"16777216_visible", u"99999999999999999999999_visible", u"_visible", u"255_Visible",
          u"255_visible ", u"-1_visible", u"+255_visible", u"25 5_hidden", u"255_hiddenx", u"255",
          u"Normal", u"0x255_visible", u"\uFF12\uFF15\uFF15_visible"}) {
        EXPECT_EQ(kindOf(other), -1) << std::string(other.begin(), other.end());
    }
}

TEST(CliReset, AfterAColouringEveryMemberGetsBackTheStylesItsStylesWereMadeFrom) {
    const json before = styledGearbox();
    const json coloured = sceneAfter(before, runCli(before, bothDrafts));
    const result::Outcome reset =
        runCli(coloured, with({"--reset", "--report", "Z:\\tmp\\reset.csv"}));
    ASSERT_TRUE(reset.cli);
    EXPECT_EQ(reset.cli->exitCode, 0);
    EXPECT_EQ(memberStyles(reset, "V1/1"), drawn);
    // Sheet2's styles were made from its own first part, the plate.
    EXPECT_EQ(memberStyles(reset, "V3/1"), plain);
    // On the pump's only sheet the bolt came first: the plate's styles were
    // made from the bolt's, and that is what the plate gets back.
    EXPECT_EQ(memberStyles(reset, "V5/1"), drawn);
    EXPECT_EQ(memberStyles(reset, "V5/2"), drawn);
    EXPECT_EQ(memberStyles(reset, "V4/1"), plain);  // never coloured
    EXPECT_THAT(
        reset.cli->stdoutLines,
        testing::Contains("processed: C:\\Work\\Gearbox.dft: 2 sheets, 2 views, 2 parts (2 reset); "
                          "saved; 0.0 s"));
    EXPECT_THAT(documentCalls(reset),
                ElementsAre("document:D1 Save []", HasSubstr("Open"), "document:D2 Save []",
                            "document:D2 Close [false]"));
    // Nothing created, nothing removed: the coloured styles stay in the draft.
    EXPECT_EQ(lineStyleNames(documentOf(reset, "D1")).size(), 10U);
    ASSERT_TRUE(reset.cli->report);
    EXPECT_THAT(reset.cli->report->front().back(), "Reset note");
    EXPECT_THAT((*reset.cli->report)[1],
                ElementsAre("C:\\Work\\Gearbox.dft", "Sheet1", "V1", "/Bolt.par", "Bolt.par", "",
                            "Wide", "Dash", "Thin", ""));

    // A second reset finds none of the tool's styles on any member.
    const result::Outcome again = runCli(sceneAfter(coloured, reset), with({"--reset"}));
    EXPECT_EQ(again.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(again), ElementsAre(HasSubstr("Open"), "document:D2 Close [false]"));
    EXPECT_EQ(memberStyles(again, "V1/1"), drawn);
    EXPECT_THAT(again.cli->stdoutLines,
                testing::Contains(HasSubstr("2 parts (0 reset); unchanged")));
}

TEST(CliReset, AfterTwoColouringsTheChainLeadsThroughTheFirstColoursStyles) {
    const json before = styledGearbox();
    json coloured = sceneAfter(before, runCli(before, Args{"C:\\Work\\Gearbox.dft"}));
    coloured["documents"]["A1"]["occurrences"][0]["style"] = {{"r", 0}, {"g", 1}, {"b", 0}};
    const result::Outcome recoloured = runCli(coloured, Args{"C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(recoloured, "V1/1"), "65280_visible|65280_hidden|65280_tangent");

    const json twice = sceneAfter(coloured, recoloured);
    const result::Outcome reset = runCli(twice, Args{"--reset", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(reset, "V1/1"), drawn);
    EXPECT_EQ(memberStyles(reset, "V3/1"), plain);
}

TEST(CliReset, AMemberWhoseStylesOriginIsLostKeepsItAndTheDocumentSaysWhy) {
    json scene = styledGearbox();
    scene["documents"]["D1"]["lineStyles"] = {
        {{"name", "Normal"}, {"color", 0}},
        {{"name", "Wide"}, {"color", 0}},
        {{"name", "255_visible"}, {"color", 255}, {"parent", "Gone"}},
        {{"name", "255_hidden"}, {"color", 255}, {"parent", "128_hidden"}},
        {{"name", "128_hidden"}, {"color", 128}, {"parent", "255_hidden"}},
        {{"name", "255_tangent"}, {"color", 255}},
        {{"name", "16711680_visible"}, {"color", 16711680}, {"parent", "Wide"}},
        {{"name", "16711680_hidden"}, {"color", 16711680}, {"parent", "Normal"}},
        {{"name", "16711680_tangent"},
         {"color", 16711680},
         {"parent", "Thin"},
         {"fail", {"parent"}}},
    };
    scene["drawingViews"][0]["root"]["children"][0]["styles"] = {
        {"visible", "255_visible"}, {"hidden", "255_hidden"}, {"tangent", "255_tangent"}};
    scene["drawingViews"][2]["root"]["children"][0]["styles"] = {{"visible", "16711680_visible"},
                                                                 {"hidden", "16711680_hidden"},
                                                                 {"tangent", "16711680_tangent"}};
    // A visible edge in a hidden style of ours is not the tool's doing: left alone.
    scene["drawingViews"][4]["root"]["children"][0]["styles"] = {
        {"visible", "255_hidden"}, {"hidden", "Normal"}, {"tangent", "Normal"}};
    scene["documents"]["D2"]["lineStyles"].push_back(
        {{"name", "255_hidden"}, {"color", 255}, {"parent", "Normal"}});

    const result::Outcome outcome =
        runCli(scene, with({"--reset", "--report", "Z:\\tmp\\kept.csv"}));
    EXPECT_EQ(outcome.cli->exitCode, 0);  // still processed
    EXPECT_EQ(memberStyles(outcome, "V1/1"), "255_visible|255_hidden|255_tangent");
    EXPECT_EQ(memberStyles(outcome, "V3/1"), "Wide|Normal|16711680_tangent");
    EXPECT_EQ(memberStyles(outcome, "V5/1"), "255_hidden|Normal|Normal");
    EXPECT_THAT(
        outcome.cli->stdoutLines,
        testing::Contains(AllOf(
            HasSubstr("processed: C:\\Work\\Gearbox.dft: 2 sheets, 2 views, 2 parts (1 reset); "
                      "4 edge styles kept; "),
            HasSubstr("\"16711680_tangent\" kept: the parent of \"16711680_tangent\" cannot be "
                      "read; "),
            HasSubstr("\"255_hidden\" kept: its parents come back to \"255_hidden\"; "),
            HasSubstr("\"255_tangent\" kept: \"255_tangent\" has no parent; "),
            HasSubstr("\"255_visible\" kept: its origin \"Gone\" is not in the draft; saved"))));
    EXPECT_THAT(outcome.cli->stdoutLines,
                testing::Contains(HasSubstr("Pump.dft: 1 sheet, 1 view, 2 parts (0 reset); "
                                            "unchanged")));
    ASSERT_TRUE(outcome.cli->report);
    EXPECT_THAT((*outcome.cli->report)[1].back(),
                AllOf(HasSubstr("\"255_visible\" kept: its origin \"Gone\" is not in the draft"),
                      HasSubstr("\"255_tangent\" kept")));
    EXPECT_EQ(outcome.cli->errorMessages, std::nullopt);  // nothing for error_messages.txt
}

TEST(CliReset, ADryRunReportsWhatEachMemberWouldGetAndChangesNothing) {
    const json before = styledGearbox();
    const json coloured = sceneAfter(before, runCli(before, bothDrafts));
    const result::Outcome dry = runCli(
        coloured,
        with({"--reset", "--dry-run", "--report", "Z:\\tmp\\dry.csv"}, {"C:\\Work\\Gearbox.dft"}));
    EXPECT_EQ(dry.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(dry), IsEmpty());
    EXPECT_EQ(memberStyles(dry, "V1/1"), "255_visible|255_hidden|255_tangent");
    ASSERT_TRUE(dry.cli->report);
    EXPECT_THAT((*dry.cli->report)[1], ElementsAre(testing::_, "Sheet1", "V1", "/Bolt.par",
                                                   "Bolt.par", "", "Wide", "Dash", "Thin", ""));
}

TEST(CliReset, AFailureEndsTheDocumentWhichTheToolClosesUnsaved) {
    const json before = styledGearbox();
    json coloured = sceneAfter(before, runCli(before, bothDrafts));
    coloured["documents"]["D2"]["fail"] = {"save"};
    const result::Outcome outcome = runCli(coloured, with({"--reset"}));
    EXPECT_EQ(outcome.cli->exitCode, 1);
    EXPECT_THAT(documentCalls(outcome),
                ElementsAre("document:D1 Save []", HasSubstr("Open"),
                            HasSubstr("document:D2 Save [] failed"), "document:D2 Close [false]"));
    // Closed without saving: on disk it keeps its colours.
    EXPECT_EQ(memberStyles(outcome, "V5/1"), "255_visible|255_hidden|255_tangent");
    EXPECT_EQ(memberStyles(outcome, "V1/1"), drawn);
}

}  // namespace
}  // namespace tav::test

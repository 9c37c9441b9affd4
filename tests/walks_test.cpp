// The two collection walks and the styles they lead to, seen through the
// drawing: which member gets which colour, and which line styles appear.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/scenes.h"

namespace tav::test {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

json part(const std::string& file, json colorKey, json color) {
    return {{"file", file}, {colorKey, std::move(color)}};
}
json rgb(double r, double g, double b) {
    return {{"r", r}, {"g", g}, {"b", b}};
}
// `children` is a vector so that `{member(...)}` is a list of one with every compiler.
json member(int type, const std::string& name, std::vector<json> children = {}) {
    json m = {{"type", type}, {"name", name}};
    if (!children.empty()) {
        m["children"] = json(std::move(children));
    }
    return m;
}
std::string colorStyles(int color) {
    const std::string base = std::to_string(color);
    return base + "_visible|" + base + "_hidden|" + base + "_tangent";
}

TEST(AssemblyColors, EachOfTheThreeSourcesGivesItsColor) {
    const auto outcome = run(
        drawingScene({part("C:\\W\\Styled.par", "style", rgb(1, 0.5, 0)),
                      part("C:\\W\\Faced.par", "faceStyle", rgb(0, 0, 1)),
                      part("C:\\W\\Plain.par", "faceStyle", nullptr),
                      {{"file", "C:\\W\\Sub.asm"},
                       {"children",
                        {{{"file", "C:\\W\\Deep.par"}, {"color", {0.2, 0.4, 0.6}}},
                         {{"file", "C:\\W\\Untouched.par"}}}}}},
                     {member(1, "Styled.par"), member(1, "Faced.par"), member(1, "Plain.par"),
                      member(0, "Sub.asm", {member(1, "Deep.par"), member(1, "Untouched.par")})}));
    EXPECT_EQ(stylesOf(outcome, "V1/1"), colorStyles(33023));
    EXPECT_EQ(stylesOf(outcome, "V1/2"), colorStyles(16711680));
    EXPECT_EQ(stylesOf(outcome, "V1/3"), "Normal|Normal|Normal") << "no colour, no styles";
    EXPECT_EQ(stylesOf(outcome, "V1/4/1"), colorStyles(51 + 256 * 102 + 65536 * 153));
    EXPECT_EQ(stylesOf(outcome, "V1/4/2"), colorStyles(0)) << "an untouched query is black";
}

TEST(AssemblyColors, ComponentsOutside0To1AreClampedToARealColor) {
    const auto outcome =
        run(drawingScene({part("A.par", "style", rgb(1.5, -0.2, 0.5))}, {member(1, "A.par")}));
    EXPECT_EQ(stylesOf(outcome, "V1/1"), colorStyles(255 + 65536 * 128));
}

TEST(AssemblyColors, SinglePrecisionComponentsAreScaledInSinglePrecision) {
    json styled = part("A.par", "style", rgb(0.3, 0, 0));
    styled["style"]["single"] = true;
    const auto outcome = run(drawingScene({styled}, {member(1, "A.par")}));
    EXPECT_EQ(stylesOf(outcome, "V1/1"), colorStyles(76));  // 77 in double precision
}

TEST(AssemblyPaths, NestedSubassembliesPairByBareFileNamesAtEveryLevel) {
    json hinge = {{"file", "C:\\Work\\Hinge.par"}, {"color", {1, 0, 0}}};
    json door = {{"file", "D:\\Other\\Door.asm"}, {"children", {hinge}}};
    json frame = {{"file", "C:\\Work\\Frame.asm"}, {"children", {door, hinge}}};
    const auto outcome = run(drawingScene(
        {frame}, {member(0, "Frame.asm",
                         {member(0, "DOOR.ASM", {member(1, "hinge.par")}), member(1, "Hinge.par")}),
                  member(1, "Hinge.par")}));
    EXPECT_EQ(stylesOf(outcome, "V1/1/1/1"), colorStyles(255));
    EXPECT_EQ(stylesOf(outcome, "V1/1/2"), colorStyles(255));
    EXPECT_EQ(stylesOf(outcome, "V1/2"), "Normal|Normal|Normal") << "same file, other path";
}

TEST(AssemblyWalk, ASubassemblyWhoseChildrenCannotBeCountedIsSkipped) {
    json broken = {{"file", "Broken.asm"},
                   {"fail", {"subOccurrences.count"}},
                   {"children", {{{"file", "Lost.par"}, {"color", {1, 0, 0}}}}}};
    json huge = {{"file", "Huge.asm"},
                 {"counts", {{"subOccurrences", 32768}}},
                 {"children", {{{"file", "Lost.par"}, {"color", {1, 0, 0}}}}}};
    const auto outcome =
        run(drawingScene({broken, huge, part("After.par", "style", rgb(0, 1, 0))},
                         {member(0, "Broken.asm", {member(1, "Lost.par")}),
                          member(0, "Huge.asm", {member(1, "Lost.par")}), member(1, "After.par")}));
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(stylesOf(outcome, "V1/1/1"), "Normal|Normal|Normal");
    EXPECT_EQ(stylesOf(outcome, "V1/2/1"), "Normal|Normal|Normal");
    EXPECT_EQ(stylesOf(outcome, "V1/3"), colorStyles(256 * 255));
}

TEST(AssemblyWalk, AnyOtherFailureEndsTheRunWithItsError) {
    json noModels = {{"file", "A.par"}, {"fail", {"models"}}};
    auto outcome = run(drawingScene({noModels}, {member(1, "A.par")}));
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_THAT(messagesOf(outcome), ElementsAre("Error -2147467259: Simulated failure: models"));

    json scene = drawingScene(json::array(), json::array());
    scene["documents"]["A1"]["counts"] = {{"occurrences", 32768}};
    outcome = run(scene);
    EXPECT_THAT(messagesOf(outcome), ElementsAre("Error 6: Overflow"));
    EXPECT_TRUE(outcome.interactive);
}

TEST(MemberWalk, PartTypesOneAndSixAreRecordedOtherTypesSkippedWithTheirChildren) {
    const auto outcome = run(drawingScene(
        {part("A.par", "style", rgb(1, 0, 0))},
        {member(6, "A.par"), member(2, "A.par", {member(1, "A.par")}), member(1, "A.par")}));
    EXPECT_EQ(stylesOf(outcome, "V1/1"), colorStyles(255));
    EXPECT_EQ(stylesOf(outcome, "V1/2/1"), "Normal|Normal|Normal");
    EXPECT_EQ(stylesOf(outcome, "V1/3"), "Normal|Normal|Normal") << "one part, one member";
}

TEST(MemberWalk, FailuresSkipOnlyTheMemberOrChildConcerned) {
    json untyped = member(0, "Sub.asm", {member(1, "A.par")});
    untyped["fail"] = {"type"};
    json unnamed = member(0, "Sub.asm", {member(1, "A.par")});
    unnamed["fail"] = {"name"};
    json overcounted = member(0, "Sub.asm", {member(1, "A.par")});
    overcounted["counts"] = {{"children", 3}};
    json nameless = member(1, "A.par");
    nameless["fail"] = {"name"};
    json sub = {{"file", "Sub.asm"}, {"children", {{{"file", "A.par"}, {"color", {0, 0, 1}}}}}};
    const auto outcome =
        run(drawingScene({sub, sub, sub, part("A.par", "style", rgb(1, 0, 0))},
                         {untyped, unnamed, overcounted, nameless, member(1, "A.par")}));
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
    EXPECT_EQ(stylesOf(outcome, "V1/1/1"), "Normal|Normal|Normal");
    EXPECT_EQ(stylesOf(outcome, "V1/2/1"), "Normal|Normal|Normal");
    EXPECT_EQ(stylesOf(outcome, "V1/3/1"), colorStyles(16711680));
    EXPECT_EQ(stylesOf(outcome, "V1/4"), "Normal|Normal|Normal") << "recorded without a name";
    EXPECT_EQ(stylesOf(outcome, "V1/5"), colorStyles(255));
}

TEST(MemberWalk, RootChildrenThatCannotBeCountedEndTheRun) {
    json scene = drawingScene(json::array(), json::array());
    scene["drawingViews"][0]["root"]["fail"] = {"children.count"};
    const auto outcome = run(scene);
    EXPECT_EQ(outcome.end, app::ProgramEnd::fatal);
    EXPECT_THAT(messagesOf(outcome),
                ElementsAre("Error -2147467259: Simulated failure: children.count"));
    EXPECT_THAT(captionsOf(outcome, "lblPieza"),
                ElementsAre("Processing SubOccurrences...", "Processing ModelMembers..."))
        << "the walk ends before any member is styled";
    EXPECT_THAT(createdStyles(outcome), IsEmpty());
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
}

TEST(Templates, TakenOnceFromTheFirstPartMemberThatAllowsIt) {
    json scene = drawingScene({part("A.par", "style", rgb(1, 0, 0))},
                              {member(1, "Guarded.par"), member(0, "Sub.asm"), member(1, "A.par")});
    scene["documents"]["D1"]["lineStyles"] = {{{"name", "Normal"}, {"color", 0}},
                                              {{"name", "Thin"}, {"color", 0}},
                                              {{"name", "Dash"}, {"color", 0}},
                                              {{"name", "Other"}, {"color", 0}}};
    auto& members = scene["drawingViews"][0]["root"]["children"];
    members[0]["flag26"] = true;
    members[0]["styles"] = {{"visible", "Other"}, {"hidden", "Other"}, {"tangent", "Other"}};
    members[2]["styles"] = {{"visible", "Thin"}, {"hidden", "Dash"}, {"tangent", "Normal"}};
    const auto outcome = run(scene);
    std::vector<std::string> templates;
    for (const auto& style : outcome.lineStyles) {
        if (style.templateName) {
            templates.push_back(style.name + "<" + *style.templateName);
        }
    }
    EXPECT_THAT(templates,
                ElementsAre("255_visible<Thin", "255_hidden<Dash", "255_tangent<Normal"));
}

TEST(Templates, WithoutATemplateCreationIsTriedWithAnEmptyName) {
    json scene = drawingScene({part("A.par", "style", rgb(1, 0, 0))}, {member(1, "A.par")});
    scene["drawingViews"][0]["root"]["children"][0]["flag26"] = true;
    const auto outcome = run(scene);
    std::vector<json> creations;
    for (const json& e : eventsOf(outcome, "host")) {
        if (e["object"] == "lineStyles") {
            creations.push_back({e["args"], e["ok"]});
        }
    }
    EXPECT_EQ(creations.size(), 3u);
    EXPECT_EQ(creations[0], (json{{"255_visible", ""}, false}));
    EXPECT_THAT(createdStyles(outcome), IsEmpty());
    EXPECT_EQ(outcome.end, app::ProgramEnd::finished);
}

TEST(LineStyles, AColorIsCreatedOnceAndFoundByLaterMembers) {
    const auto outcome = run(drawingScene(
        {part("A.par", "style", rgb(1, 0, 0)), part("B.par", "faceStyle", rgb(1, 0, 0))},
        {member(1, "A.par"), member(1, "B.par")}));
    EXPECT_THAT(createdStyles(outcome), ElementsAre("255_visible", "255_hidden", "255_tangent"));
    EXPECT_EQ(stylesOf(outcome, "V1/2"), colorStyles(255));
}

TEST(ProgressDots, OneDotEveryTenthVisitAcrossBothWalks) {
    json children = json::array();
    json childMembers = json::array();
    for (int i = 0; i < 9; ++i) {
        children.push_back({{"file", "P.par"}, {"color", {0, 0, 0}}});
    }
    const auto outcome =
        run(drawingScene({{{"file", "Sub.asm"}, {"children", children}}}, {member(1, "Q.par")}));
    // Nine visits in the assembly walk (the top level is not counted), the
    // tenth in the member walk.
    EXPECT_THAT(captionsOf(outcome, "lblPieza"),
                ElementsAre("Processing SubOccurrences...", "Processing ModelMembers...",
                            "Processing ModelMembers....", "Processing Part 1 to 1"));
}

}  // namespace
}  // namespace tav::test

// Paper-safe colours: the contrast rule at its edges, the ratio as the
// command line and the settings file take it, and a white and a yellow part
// coloured end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/cli/cli_options.h"
#include "engine/paper_safe.h"
#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using Args = std::vector<std::string>;

constexpr engine::ColorValue white = 16777215;
constexpr engine::ColorValue yellow = 65535;
constexpr engine::ColorValue black = 0;

constexpr engine::ColorValue grey(int level) {
    return level + 256 * level + 65536 * level;
}

TEST(PaperSafeColour, ContrastRunsFromOneForWhiteToTwentyOneForBlack) {
    EXPECT_DOUBLE_EQ(engine::contrastAgainstWhite(white), 1.0);
    EXPECT_NEAR(engine::contrastAgainstWhite(black), 21.0, 1e-9);
    EXPECT_NEAR(engine::contrastAgainstWhite(yellow), 1.0738, 1e-4);
}

TEST(PaperSafeColour, OnlyColoursBelowTheRatioAreDarkened) {
    EXPECT_EQ(engine::paperSafeColor(grey(148), 3.0), grey(148));  // 3.03: reaches 3
    EXPECT_EQ(engine::paperSafeColor(grey(149), 3.0), grey(148));  // 2.995: does not
    EXPECT_EQ(engine::paperSafeColor(white, 3.0), grey(148));
    // Yellow keeps its hue: both components scaled alike, blue stays 0.
    EXPECT_EQ(engine::paperSafeColor(yellow, 3.0), 154 + 256 * 154);
    EXPECT_EQ(engine::paperSafeColor(255, 3.0), 255);  // red is dark enough already
    EXPECT_EQ(engine::paperSafeColor(black, 3.0), black);
}

TEST(PaperSafeColour, TheRatiosBoundsLeaveWhiteAloneOrMakeEverythingBlack) {
    EXPECT_EQ(engine::paperSafeColor(white, 1.0), white);
    EXPECT_EQ(engine::paperSafeColor(white, 21.0), black);
    EXPECT_EQ(engine::paperSafeColor(grey(1), 21.0), black);
    EXPECT_EQ(engine::paperSafeColor(black, 21.0), black);
}

cli::CliOptions parsed(std::vector<std::u16string> arguments) {
    cli::CliOptions options;
    cli::applyArguments(options, arguments);
    return options;
}

std::string usageErrorOf(std::vector<std::u16string> arguments) {
    try {
        parsed(std::move(arguments));
    } catch (const cli::UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(PaperSafeOption, TakesARatioFromOneToTwentyOneWithAPointWhateverTheLocale) {
    EXPECT_FALSE(parsed({u"a.dft"}).paperSafeRatio);
    EXPECT_EQ(parsed({u"--paper-safe"}).paperSafeRatio, 3.0);
    EXPECT_EQ(parsed({u"--paper-safe=4.5"}).paperSafeRatio, 4.5);
    EXPECT_EQ(parsed({u"--paper-safe=1"}).paperSafeRatio, 1.0);
    EXPECT_EQ(parsed({u"--paper-safe=21"}).paperSafeRatio, 21.0);
    EXPECT_EQ(parsed({u"--paper-safe=21.000"}).paperSafeRatio, 21.0);
    // Without "=" the next argument stays a file.
    const cli::CliOptions spaced = parsed({u"--paper-safe", u"4.5"});
    EXPECT_EQ(spaced.paperSafeRatio, 3.0);
    EXPECT_THAT(spaced.files, ElementsAre(u"4.5"));
}

TEST(PaperSafeOption, AnythingElseIsAUsageErrorThatNamesIt) {
    for (const std::u16string value :
         {u"0.99", u"21.01", u"0", u"4,5", u"abc", u"", u".5", u"3.", u"1e1", u"-3", u"+3"}) {
        EXPECT_THAT(usageErrorOf({u"--paper-safe=" + value}),
                    HasSubstr("--paper-safe takes a contrast ratio from 1 to 21"));
    }
    EXPECT_THAT(usageErrorOf({u"--paper-safe=4,5"}), HasSubstr("\"4,5\""));
}

TEST(PaperSafeOption, TheSettingTakesTrueFalseOrARatio) {
    cli::CliOptions options;
    cli::applySetting(options, "paper_safe", u"TRUE", u"C:\\Tools");
    EXPECT_EQ(options.paperSafeRatio, 3.0);
    cli::applySetting(options, "paper_safe", u"7", u"C:\\Tools");
    EXPECT_EQ(options.paperSafeRatio, 7.0);
    cli::applySetting(options, "paper_safe", u"false", u"C:\\Tools");
    EXPECT_FALSE(options.paperSafeRatio);
    EXPECT_THROW(cli::applySetting(options, "paper_safe", u"22", u"C:\\Tools"), cli::UsageError);
    cli::applySetting(options, "reset", u"true", u"C:\\Tools");
    cli::applySetting(options, "remove_unused_styles", u"True", u"C:\\Tools");
    EXPECT_TRUE(options.reset);
    EXPECT_TRUE(options.removeUnusedStyles);
}

// Bolt white, Plate yellow: both too pale for paper.
json paleGearbox() {
    json scene = gearboxDrafts();
    json& occurrences = scene["documents"]["A1"]["occurrences"];
    occurrences[0]["style"] = {{"r", 1}, {"g", 1}, {"b", 1}};
    occurrences[1]["faceStyle"] = {{"r", 1}, {"g", 1}, {"b", 0}};
    return scene;
}

std::int32_t colourOfStyle(const result::DocumentState& document, const std::string& name) {
    for (const result::LineStyleState& style : document.lineStyles) {
        if (style.name == name) {
            return style.color;
        }
    }
    return -1;
}

TEST(PaperSafeRun, PalePartsAreDrawnInTheirDarkenedColourAndTheReportShowsBoth) {
    const result::Outcome outcome =
        runCli(paleGearbox(),
               Args{"--paper-safe", "--report", "Z:\\tmp\\paper.csv", "C:\\Work\\Gearbox.dft"});
    ASSERT_TRUE(outcome.cli);
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_EQ(memberStyles(outcome, "V1/1"), "9737364_visible|9737364_hidden|9737364_tangent");
    EXPECT_EQ(memberStyles(outcome, "V3/1"), "39578_visible|39578_hidden|39578_tangent");
    const result::DocumentState& gearbox = documentOf(outcome, "D1");
    EXPECT_EQ(colourOfStyle(gearbox, "9737364_visible"), grey(148));
    EXPECT_EQ(colourOfStyle(gearbox, "39578_tangent"), 39578);
    EXPECT_EQ(colourOfStyle(gearbox, "16777215_visible"), -1);  // no white style at all
    ASSERT_TRUE(outcome.cli->report);
    EXPECT_THAT(*outcome.cli->report,
                ElementsAre(testing::_,
                            ElementsAre("C:\\Work\\Gearbox.dft", "Sheet1", "V1", "/Bolt.par",
                                        "Bolt.par", "16777215->9737364", "9737364_visible",
                                        "9737364_hidden", "9737364_tangent"),
                            ElementsAre("C:\\Work\\Gearbox.dft", "Sheet2", "Detail A", "/Plate.par",
                                        "Plate.par", "65535->39578", "39578_visible",
                                        "39578_hidden", "39578_tangent")));
}

TEST(PaperSafeRun, ColoursDarkEnoughKeepTheirNamesAndADryRunReportsTheDarkenedOnes) {
    // Red and blue reach 3: exactly what a run without the option gives.
    const result::Outcome dark =
        runCli(gearboxDrafts(), Args{"--paper-safe=3", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(dark, "V1/1"), "255_visible|255_hidden|255_tangent");

    const result::Outcome dry =
        runCli(paleGearbox(), Args{"--paper-safe=21", "--dry-run", "--report", "Z:\\tmp\\dry.csv",
                                   "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(dry, "V1/1"), "Normal|Normal|Normal");
    ASSERT_TRUE(dry.cli->report);
    EXPECT_THAT((*dry.cli->report)[1],
                ElementsAre(testing::_, testing::_, testing::_, testing::_, testing::_,
                            "16777215->0", "0_visible", "0_hidden", "0_tangent"));
}

}  // namespace
}  // namespace tav::test

// The command-line tool on Drafts in the simulated Solid Edge, as a user and
// the documents see it: what each Draft gets, what becomes of it (saved,
// closed, left open), the lines printed, error_messages.txt and the report,
// and failures that end one document only.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/utf.h"
#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using Args = std::vector<std::string>;

constexpr const char* red = "255_visible|255_hidden|255_tangent";
constexpr const char* blue = "16711680_visible|16711680_hidden|16711680_tangent";
constexpr const char* plain = "Normal|Normal|Normal";

const CliRun bothDrafts{.arguments = {"C:\\Work\\Gearbox.dft", "c:\\work\\PUMP.dft"}};

TEST(CliBatch, EveryWorkingSheetIsColouredEachDraftSavedAndTheOneItOpenedClosed) {
    const result::Outcome outcome = runCli(gearboxDrafts(), bothDrafts);
    ASSERT_TRUE(outcome.cli);
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_EQ(memberStyles(outcome, "V1/1"), red);    // Sheet1
    EXPECT_EQ(memberStyles(outcome, "V2/1"), plain);  // a view of kind 5 is left out
    EXPECT_EQ(memberStyles(outcome, "V3/1"), blue);   // Sheet2
    EXPECT_EQ(memberStyles(outcome, "V4/1"), plain);  // background sheets are not working ones
    EXPECT_EQ(memberStyles(outcome, "V5/1"), red);    // saved before it was closed
    EXPECT_EQ(memberStyles(outcome, "V5/2"), blue);
    EXPECT_THAT(documentCalls(outcome),
                ElementsAre("document:D1 Save []", "documents Open [\"c:\\\\work\\\\PUMP.dft\"]",
                            "document:D2 Save []", "document:D2 Close [false]"));
    const result::DocumentState& gearbox = documentOf(outcome, "D1");
    EXPECT_TRUE(gearbox.open);  // it was open before: left open
    EXPECT_EQ(gearbox.saves, 1);
    EXPECT_EQ(gearbox.activeSheet, 2);  // the user's active sheet stays
    // The styles are created once per document and reused by later sheets.
    EXPECT_THAT(lineStyleNames(gearbox),
                ElementsAre("Normal", "255_visible", "255_hidden", "255_tangent",
                            "16711680_visible", "16711680_hidden", "16711680_tangent"));
    EXPECT_FALSE(documentOf(outcome, "D2").open);
    EXPECT_EQ(documentOf(outcome, "D2").saves, 1);
    // The closing command once per document, the settings as they were.
    EXPECT_THAT(outcome.commands, ElementsAre(32876, 32876));
    EXPECT_TRUE(outcome.interactive);
    EXPECT_FALSE(outcome.delayCompute);
    EXPECT_TRUE(outcome.displayAlerts);
    EXPECT_EQ(outcome.heldReferences, 0);
    EXPECT_THAT(outcome.cli->stdoutLines,
                ElementsAre("processed: C:\\Work\\Gearbox.dft: 2 sheets, 2 views, 2 parts (2 "
                            "coloured), 6 styles created; saved; 0.0 s",
                            "processed: c:\\work\\PUMP.dft: 1 sheet, 1 view, 2 parts (2 "
                            "coloured), 6 styles created; saved; 0.0 s",
                            "2 documents: 2 processed, 0 not processed, 12 styles created"));
    EXPECT_FALSE(outcome.cli->errorMessages);
}

TEST(CliBatch, SheetChoicesTakeTheActiveSheetOrTheBackgroundToo) {
    json scene = gearboxDrafts();
    const result::Outcome active =
        runCli(scene, Args{"--sheets", "active", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(active, "V1/1"), plain);
    EXPECT_EQ(memberStyles(active, "V3/1"), blue);
    EXPECT_EQ(memberStyles(active, "V4/1"), plain);

    const result::Outcome all = runCli(scene, Args{"--sheets=all", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(memberStyles(all, "V1/1"), red);
    EXPECT_EQ(memberStyles(all, "V3/1"), blue);
    EXPECT_EQ(memberStyles(all, "V4/1"), blue);
}

TEST(CliBatch, WithoutFilesTheActiveDraftIsProcessedSavedAndLeftOpen) {
    const result::Outcome outcome = runCli(gearboxDrafts(), Args{});
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_EQ(memberStyles(outcome, "V1/1"), red);
    EXPECT_THAT(documentCalls(outcome), ElementsAre("document:D1 Save []"));
    EXPECT_TRUE(documentOf(outcome, "D1").open);
    EXPECT_FALSE(outcome.cli->errorMessages);

    json assemblyActive = gearboxDrafts();
    assemblyActive["activeDocument"] = "A1";
    const result::Outcome refused = runCli(assemblyActive, Args{});
    EXPECT_EQ(refused.cli->exitCode, 1);
    EXPECT_THAT(refused.cli->errorMessages,
                testing::Optional(ElementsAre("The active document is not a Draft")));
    EXPECT_THAT(documentCalls(refused), IsEmpty());
}

TEST(CliBatch, AFailureEndsOnlyItsDocumentWhichIsNotSaved) {
    json scene = gearboxDrafts();
    scene["drawingViews"][4]["fail"] = {"modelMembers"};  // V5, in the Draft on disk
    const result::Outcome outcome = runCli(scene, bothDrafts);
    EXPECT_EQ(outcome.cli->exitCode, 1);
    EXPECT_EQ(memberStyles(outcome, "V1/1"), red);
    // The tool opened it: closed without saving, as it was on disk.
    EXPECT_EQ(memberStyles(outcome, "V5/1"), plain);
    EXPECT_THAT(lineStyleNames(documentOf(outcome, "D2")), ElementsAre("Normal"));
    EXPECT_EQ(documentOf(outcome, "D2").saves, 0);
    EXPECT_FALSE(documentOf(outcome, "D2").open);
    const std::string failure =
        "c:\\work\\PUMP.dft: error -2147467259 \"Simulated failure: modelMembers\" on sheet "
        "\"Sheet1\", view \"V5\"";
    EXPECT_THAT(outcome.cli->errorMessages, testing::Optional(ElementsAre(failure)));
    EXPECT_THAT(outcome.cli->stdoutLines[1], testing::Not(HasSubstr("saved")));
    EXPECT_THAT(outcome.commands, ElementsAre(32876));  // not after the failed one
}

TEST(CliBatch, AFailedDraftThatWasOpenStaysOpenUnsavedAndTheNextGoesOn) {
    json scene = gearboxDrafts();
    scene["drawingViews"][2]["fail"] = {"modelMembers"};  // V3, on D1's second sheet
    const result::Outcome outcome = runCli(scene, bothDrafts);
    EXPECT_EQ(outcome.cli->exitCode, 1);
    const result::DocumentState& gearbox = documentOf(outcome, "D1");
    EXPECT_TRUE(gearbox.open);
    EXPECT_EQ(gearbox.saves, 0);
    EXPECT_EQ(gearbox.unsaved, true);  // Sheet1's styles are in memory only
    EXPECT_THAT(outcome.cli->stdoutLines[0], HasSubstr("left open with unsaved changes"));
    EXPECT_THAT(outcome.cli->stdoutLines[0], HasSubstr("on sheet \"Sheet2\", view \"Detail A\""));
    EXPECT_EQ(memberStyles(outcome, "V5/1"), red);
}

TEST(CliBatch, FilesItCannotWorkOnAreReportedAndTheRestGoOn) {
    json scene = gearboxDrafts();
    scene["documents"]["D2"]["readOnly"] = true;
    scene["documents"]["D3"] = {{"kind", "draft"},
                                {"path", "C:\\Work\\Old.dft"},
                                {"open", false},
                                {"fail", {"open"}},
                                {"drawingViews", json::array()},
                                {"lineStyles", {{{"name", "Normal"}, {"color", 0}}}}};
    const result::Outcome outcome =
        runCli(scene, Args{"C:\\Work\\notes.txt", "C:\\Work\\Old.dft", "C:\\Work\\Pump.dft",
                           "C:\\Work\\Missing.dft", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(outcome.cli->exitCode, 1);
    EXPECT_THAT(outcome.cli->errorMessages,
                testing::Optional(ElementsAre(
                    "C:\\Work\\notes.txt: not a Draft: the file name does not end in .dft",
                    HasSubstr("C:\\Work\\Old.dft: Solid Edge cannot open it: error"),
                    "C:\\Work\\Pump.dft: read-only: left unchanged",
                    HasSubstr("C:\\Work\\Missing.dft: Solid Edge cannot open it: error"))));
    // Nothing opened a text file; the read-only Draft was closed unchanged.
    EXPECT_THAT(
        documentCalls(outcome),
        ElementsAre(HasSubstr("documents Open [\"C:\\\\Work\\\\Old.dft\"] failed"),
                    "documents Open [\"C:\\\\Work\\\\Pump.dft\"]", "document:D2 Close [false]",
                    HasSubstr("documents Open [\"C:\\\\Work\\\\Missing.dft\"] failed"),
                    "document:D1 Save []"));
    EXPECT_EQ(memberStyles(outcome, "V5/1"), plain);
    EXPECT_EQ(memberStyles(outcome, "V1/1"), red);
}

TEST(CliBatch, NoSaveAndDryRunLeaveTheFilesOnDiskAsTheyWere) {
    const CliRun noSave{.arguments = {"--no-save", "C:\\Work\\Gearbox.dft", "C:\\Work\\Pump.dft"}};
    const result::Outcome kept = runCli(gearboxDrafts(), noSave);
    EXPECT_EQ(kept.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(kept), ElementsAre(HasSubstr("Open"), "document:D2 Close [false]"));
    EXPECT_EQ(documentOf(kept, "D1").unsaved, true);  // coloured in memory, for the user to save
    EXPECT_EQ(memberStyles(kept, "V5/1"), plain);     // closed without saving

    const result::Outcome dry =
        runCli(gearboxDrafts(),
               Args{"--dry-run", "--report", "Z:\\tmp\\dry.csv", "C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(dry.cli->exitCode, 0);
    EXPECT_THAT(documentCalls(dry), IsEmpty());
    EXPECT_THAT(dry.commands, IsEmpty());
    EXPECT_THAT(lineStyleNames(documentOf(dry, "D1")), ElementsAre("Normal"));
    EXPECT_EQ(memberStyles(dry, "V1/1"), plain);
    EXPECT_EQ(documentOf(dry, "D1").unsaved, false);
    ASSERT_TRUE(dry.cli->report);
    EXPECT_THAT(
        *dry.cli->report,
        ElementsAre(
            testing::_,
            ElementsAre("C:\\Work\\Gearbox.dft", "Sheet1", "V1", "/Bolt.par", "Bolt.par", "255",
                        "255_visible", "255_hidden", "255_tangent"),
            ElementsAre("C:\\Work\\Gearbox.dft", "Sheet2", "Detail A", "/Plate.par", "Plate.par",
                        "16711680", "16711680_visible", "16711680_hidden", "16711680_tangent")));
}

TEST(CliBatch, SettingsGoBackToTheirStartingValuesAfterAFailure) {
    json scene = gearboxDrafts();
    scene["host"]["properties"] = {{"18", false}, {"73", true}};
    scene["host"]["displayAlerts"] = false;
    scene["drawingViews"][0]["fail"] = {"modelMembers"};
    const result::Outcome outcome = runCli(scene, Args{"C:\\Work\\Gearbox.dft"});
    EXPECT_EQ(outcome.cli->exitCode, 1);
    EXPECT_FALSE(outcome.interactive);
    EXPECT_TRUE(outcome.delayCompute);
    EXPECT_FALSE(outcome.displayAlerts);

    // A setting that cannot be read goes back to the window's value.
    json unreadable = gearboxDrafts();
    unreadable["host"]["properties"] = {{"18", false}};
    unreadable["failCall"] = 1;  // the read of 18
    EXPECT_TRUE(runCli(unreadable, Args{"C:\\Work\\Gearbox.dft"}).interactive);
}

TEST(CliBatch, AnInterruptStopsAfterTheCallUnderWayAndTidiesUp) {
    // Ten calls before the end falls inside Pump.dft, which the tool opened.
    const result::Outcome whole = runCli(gearboxDrafts(), bothDrafts);
    CliRun interrupted = bothDrafts;
    interrupted.interruptAtCall = whole.hostCalls - 10;
    const result::Outcome outcome = runCli(gearboxDrafts(), interrupted);
    EXPECT_EQ(outcome.cli->exitCode, 1);
    EXPECT_EQ(outcome.cli->stdoutLines.at(2), "interrupted");
    EXPECT_THAT(outcome.cli->errorMessages,
                testing::Optional(ElementsAre("c:\\work\\PUMP.dft: interrupted", "interrupted")));
    EXPECT_FALSE(documentOf(outcome, "D2").open);
    EXPECT_EQ(documentOf(outcome, "D2").saves, 0);
    EXPECT_EQ(documentOf(outcome, "D1").saves, 1);
    EXPECT_TRUE(outcome.interactive);
    EXPECT_TRUE(outcome.displayAlerts);
    EXPECT_EQ(outcome.heldReferences, 0);
}

TEST(CliBatch, UsageErrorsDoNothingAndSayWhyBesideTheProgram) {
    const result::Outcome outcome = runCli(gearboxDrafts(), Args{"--colour", "red"});
    EXPECT_EQ(outcome.cli->exitCode, 2);
    EXPECT_EQ(outcome.hostCalls, 0);
    EXPECT_THAT(outcome.cli->errorMessages,
                testing::Optional(ElementsAre("tavrelmondix-cli: unknown option --colour")));

    const result::Outcome badSetting = runCli(
        gearboxDrafts(), CliRun{.programFiles = {{"program_settings.txt", "colour = red\n"}}});
    EXPECT_EQ(badSetting.cli->exitCode, 2);
    EXPECT_THAT(badSetting.cli->errorMessages,
                testing::Optional(ElementsAre(HasSubstr("unknown setting \"colour\""))));

    const result::Outcome noReportFolder =
        runCli(gearboxDrafts(), Args{"--report", "Z:\\no\\such\\folder\\r.csv"});
    EXPECT_EQ(noReportFolder.cli->exitCode, 2);
    EXPECT_EQ(noReportFolder.hostCalls, 0);
}

TEST(CliBatch, TheSettingsFileServesHousekeeperAndArgumentsOverrideIt) {
    const CliRun fromSettings{.programFiles = {{"program_settings.txt",
                                                "# for Housekeeper\r\nsheets = ALL\r\n"
                                                "' no_save = true\r\nerror = x\r\n"}}};
    // The line "error = x" is an unknown key: nothing is done.
    EXPECT_EQ(runCli(gearboxDrafts(), fromSettings).cli->exitCode, 2);

    const CliRun settings{
        .programFiles = {{"program_settings.txt", "sheets = all\nno_save = TRUE\n"}}};
    const result::Outcome outcome = runCli(gearboxDrafts(), settings);
    EXPECT_EQ(memberStyles(outcome, "V4/1"), blue);
    EXPECT_THAT(documentCalls(outcome), IsEmpty());

    CliRun overridden = settings;
    overridden.arguments = {"--sheets", "working"};
    EXPECT_EQ(memberStyles(runCli(gearboxDrafts(), overridden), "V4/1"), plain);
}

TEST(CliBatch, AStaleErrorMessagesFileIsRemovedWhenTheRunSucceeds) {
    const CliRun run{.programFiles = {{"error_messages.txt", "from an earlier run\r\n"}}};
    const result::Outcome outcome = runCli(gearboxDrafts(), run);
    EXPECT_EQ(outcome.cli->exitCode, 0);
    EXPECT_FALSE(outcome.cli->errorMessages);
}

TEST(CliBatch, ListFilesFoldersAndPatternsNameEachDraftOnce) {
    ScratchFolder drawings;
    drawings.write("b.dft", "");
    drawings.write("A.DFT", "");
    drawings.write("notes.txt", "");
    const std::string folder = drawings.windowsPath();
    json scene = gearboxDrafts();
    scene["documents"]["D1"]["path"] = folder + "\\A.DFT";
    scene["documents"]["D2"]["path"] = folder + "\\b.dft";
    // UTF-16 LE with a byte order mark: a comment, a blank line, a repeat.
    const std::u16string list = u"\uFEFF# the week's drawings\r\n\r\n" + platform::toUtf16(folder) +
                                u"\\B.DFT\r\n" + platform::toUtf16(folder) + u"\\a.dft\r\n";
    std::string bytes;
    for (char16_t unit : list) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    drawings.write("week.txt", bytes);

    const result::Outcome fromFolder = runCli(scene, Args{folder, "--list", folder + "\\week.txt"});
    EXPECT_EQ(fromFolder.cli->exitCode, 0);
    ASSERT_EQ(fromFolder.cli->stdoutLines.size(), 3u);
    EXPECT_THAT(fromFolder.cli->stdoutLines[0], HasSubstr("\\A.DFT: 2 sheets"));
    EXPECT_THAT(fromFolder.cli->stdoutLines[1], HasSubstr("\\b.dft: 1 sheet"));

    const result::Outcome fromPattern = runCli(scene, Args{folder + "\\*.dft"});
    EXPECT_EQ(fromPattern.cli->exitCode, 0);
    EXPECT_EQ(fromPattern.cli->stdoutLines.size(), 3u);

    drawings.write("broken.txt", "\xFF\xFE\x41");  // UTF-16 of an odd length
    const result::Outcome broken = runCli(scene, Args{"--list", folder + "\\broken.txt"});
    EXPECT_EQ(broken.cli->exitCode, 2);
    EXPECT_EQ(broken.hostCalls, 0);
}

}  // namespace
}  // namespace tav::test

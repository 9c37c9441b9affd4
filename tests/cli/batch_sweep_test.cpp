// Every host call of a two-Draft, three-sheet batch failing in turn: each
// Draft ends processed and saved (or unchanged, when a tolerated failure
// left it nothing to colour), or with its saved state as at the start
// (one that was already open may keep changes in memory, and its line says
// so); each setting's last put gives its starting value back, which the
// host holds unless that very put failed; no reference is left held. The
// same holds for a reset that removes the unused styles afterwards.
#include <map>

#include <gtest/gtest.h>

#include "tests/cli/cli_scenes.h"

namespace tav::test {
namespace {

struct SettingPut {
    json value;
    bool ok = false;
};

// The last put of each setting, by its result name ("18", "73", "DisplayAlerts").
std::map<std::string, SettingPut> lastSettingPuts(const result::Outcome& outcome) {
    std::map<std::string, SettingPut> puts;
    for (const json& event : eventsOf(outcome, "host")) {
        if (event["host"] == "put" && event["object"] == "host") {
            const std::string member = event["member"].is_string()
                                           ? event["member"].get<std::string>()
                                           : std::to_string(event["member"].get<int>());
            puts[member] = {event["value"], event["ok"].get<bool>()};
        }
    }
    return puts;
}

void expectSavedStateAsAtTheStart(const result::Outcome& outcome, const std::string& id,
                                  std::size_t lineStyles, const std::string& context) {
    const result::DocumentState& document = documentOf(outcome, id);
    EXPECT_EQ(document.saves, 0) << context;
    if (!document.open) {
        EXPECT_EQ(document.lineStyles.size(), lineStyles) << context;
    }
}

// Runs the batch once clean, then once with each of its host calls failing;
// each Draft starts with `lineStyles` styles.
void sweepEveryCall(const json& scene, const std::vector<std::string>& arguments,
                    std::size_t lineStyles) {
    const result::Outcome clean = runCli(scene, arguments);
    ASSERT_EQ(clean.cli->exitCode, 0);
    ASSERT_GT(clean.hostCalls, 100);
    const std::map<std::string, bool> starting{
        {"18", true}, {"73", false}, {"DisplayAlerts", true}};

    for (std::int32_t call = 1; call <= clean.hostCalls; ++call) {
        json failing = scene;
        failing["failCall"] = call;
        const result::Outcome outcome = runCli(failing, arguments);
        const std::string context = "failCall " + std::to_string(call);
        ASSERT_TRUE(outcome.cli) << context;
        EXPECT_EQ(outcome.heldReferences, 0) << context;

        const std::vector<std::string>& lines = outcome.cli->stdoutLines;
        ASSERT_GE(lines.size(), 2u) << context;
        bool allProcessed = true;
        for (std::size_t d = 0; d < 2; ++d) {
            const std::string id = d == 0 ? "D1" : "D2";
            const bool processed = lines[d].starts_with("processed: ");
            allProcessed = allProcessed && processed;
            if (processed && lines[d].find("; saved;") != std::string::npos) {
                EXPECT_EQ(documentOf(outcome, id).saves, 1) << context << ": " << lines[d];
            } else if (processed) {
                // A tolerated failure left nothing to colour: nothing changed.
                EXPECT_NE(lines[d].find("; unchanged;"), std::string::npos) << context;
                expectSavedStateAsAtTheStart(outcome, id, lineStyles, context + ": " + lines[d]);
                EXPECT_NE(documentOf(outcome, id).unsaved, true) << context;
            } else {
                expectSavedStateAsAtTheStart(outcome, id, lineStyles, context + ": " + lines[d]);
                if (documentOf(outcome, id).unsaved == true) {
                    EXPECT_NE(lines[d].find("left open with unsaved changes"), std::string::npos)
                        << context << ": " << lines[d];
                }
            }
        }
        EXPECT_EQ(outcome.cli->exitCode, allProcessed ? 0 : 1) << context;

        const bool finalValues[] = {outcome.interactive, outcome.delayCompute,
                                    outcome.displayAlerts};
        const char* const names[] = {"18", "73", "DisplayAlerts"};
        const std::map<std::string, SettingPut> puts = lastSettingPuts(outcome);
        for (std::size_t k = 0; k < 3; ++k) {
            const auto last = puts.find(names[k]);
            if (last == puts.end()) {
                continue;  // never put: never changed
            }
            EXPECT_EQ(last->second.value, starting.at(names[k])) << context << ", " << names[k];
            if (last->second.ok) {
                EXPECT_EQ(finalValues[k], starting.at(names[k])) << context << ", " << names[k];
            }
        }
    }
}

TEST(CliBatchSweep, EveryFailingCallLeavesEachDraftWholeOrAsItWasAndTheSettingsBack) {
    sweepEveryCall(gearboxDrafts(), {"C:\\Work\\Gearbox.dft", "C:\\Work\\Pump.dft"}, 1);
}

// The same for a reset that then removes the unused styles, on Drafts a
// first run coloured: a document that fails keeps its colours and all
// seven styles on disk.
TEST(CliBatchSweep, AResetWithRemovalLeavesEachDraftWholeOrAsItWas) {
    const json before = gearboxDrafts();
    const std::vector<std::string> drafts{"C:\\Work\\Gearbox.dft", "C:\\Work\\Pump.dft"};
    const json coloured = sceneAfter(before, runCli(before, drafts));
    sweepEveryCall(
        coloured,
        {"--reset", "--remove-unused-styles", "C:\\Work\\Gearbox.dft", "C:\\Work\\Pump.dft"}, 7);
}

}  // namespace
}  // namespace tav::test

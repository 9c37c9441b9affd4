// Whatever single host call fails, and whatever fault key an object carries,
// the tool comes to an end, holds nothing after a shutdown or a refusal,
// gives Solid Edge back and empties a selection of its own. The sweep tool
// holds the logic; here it runs on a bounded set of scenes, and its checks
// are shown to catch each kind of unsound end.
#include <fstream>
#include <sstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/run_checks.h"
#include "tests/support/scenes.h"
#include "tools/sweep/fault_sweep.h"

namespace tav::test {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct SweptScene {
    std::string path;
    std::int32_t callStride;
};

class FaultSweep : public testing::TestWithParam<SweptScene> {};

TEST_P(FaultSweep, EveryFailingCallAndFaultKeyEndsCleanly) {
    const SweptScene& scene = GetParam();
    const sweep::SweepResult result =
        sweep::sweepScene(readFile(scene.path), scene.path, {true, true, scene.callStride, {}});
    EXPECT_GT(result.failCallRuns, 0);
    EXPECT_GT(result.faultKeyRuns, 0);
    for (const sweep::SweepFinding& finding : result.findings) {
        ADD_FAILURE() << finding.fault << ": " << finding.problem;
    }
}

// The variants are handed on exactly as they ran (to be run again over COM):
// each one a scene the loader takes, with its own fault.
TEST(FaultSweepVariants, EveryVariantRunIsHandedOnAsAScene) {
    const std::string path = std::string(TAV_TEST_DATA) + "/conformance/08-filter.scene.json";
    std::vector<std::string> names;
    sweep::SweepOptions options{true, true, 10, {}};
    options.variants = [&](const std::string& name, const std::string& text) {
        names.push_back(name);
        const sim::Scene scene = sim::parseScene(text, name);
        if (name.starts_with("failcall-")) {
            EXPECT_EQ(scene.failCall, std::stoi(name.substr(9)));
        }
    };
    const sweep::SweepResult result = sweep::sweepScene(readFile(path), path, options);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(result.failCallRuns + result.faultKeyRuns));
    EXPECT_EQ(names.front(), "failcall-1");
    EXPECT_EQ(names[1], "failcall-11");
    EXPECT_EQ(names.back(), "key-" + std::to_string(result.faultKeyRuns));
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, FaultSweep,
    testing::Values(
        SweptScene{std::string(TAV_TEST_DATA) + "/conformance/01-example.scene.json", 1},
        SweptScene{std::string(TAV_TEST_DATA) + "/conformance/07-fatal-restores-host.scene.json",
                   1},
        SweptScene{std::string(TAV_EXAMPLES) + "/empty-selection.scene.json", 1},
        SweptScene{std::string(TAV_EXAMPLES) + "/gearbox.scene.json", 7}),
    [](const testing::TestParamInfo<SweptScene>& param) {
        return "scene" + std::to_string(param.index);
    });

// A run on a scene where nothing is selected, so the tool selects the view
// itself, as a starting point for outcomes that the checks must refuse.
session::SessionOutcome ownSelectionRun() {
    json scene = drawingScene({}, {});
    return run(scene);
}

result::HostEvent* lastHostEvent(session::SessionOutcome& outcome, host::DispId member) {
    for (auto it = outcome.events.rbegin(); it != outcome.events.rend(); ++it) {
        auto* event = std::get_if<result::HostEvent>(&*it);
        if (event != nullptr && event->member == member && event->object == "host") {
            return event;
        }
    }
    return nullptr;
}

TEST(RunChecks, ASoundRunPasses) {
    EXPECT_THAT(session::checkRun(ownSelectionRun(), {}), IsEmpty());
}

TEST(RunChecks, AnOpenWindowOrReferencesHeldAfterTheEndAreProblems) {
    session::SessionOutcome outcome = ownSelectionRun();
    outcome.heldReferences = 2;
    EXPECT_THAT(session::checkRun(outcome, {}), ElementsAre(HasSubstr("held 2 references")));
    outcome.end = app::ProgramEnd::running;
    EXPECT_THAT(session::checkRun(outcome, {}), ElementsAre(HasSubstr("ended 'open'")));
}

TEST(RunChecks, SolidEdgeLeftNonInteractiveIsAProblemUnlessTheRestoringPutFailed) {
    session::SessionOutcome outcome = ownSelectionRun();
    outcome.interactive = false;
    EXPECT_THAT(session::checkRun(outcome, {}), ElementsAre("property 18 ended False"));
    lastHostEvent(outcome, 18)->ok = false;
    EXPECT_THAT(session::checkRun(outcome, {}), IsEmpty());
    lastHostEvent(outcome, 73)->payload = true;
    EXPECT_THAT(session::checkRun(outcome, {}),
                ElementsAre("the tool's last put of property 73 was true"));
}

TEST(RunChecks, TheClosingCommandAfterAFatalErrorIsAProblem) {
    session::SessionOutcome outcome = ownSelectionRun();
    ASSERT_NE(lastHostEvent(outcome, 79), nullptr);
    outcome.end = app::ProgramEnd::fatal;
    outcome.events.insert(outcome.events.end() - 4,
                          app::UiEvent{app::MessageShown{u"Tavrelmondix", u"Error 6: Overflow"}});
    EXPECT_THAT(session::checkRun(outcome, {}),
                ElementsAre("command 79 was called after the fatal error"));
}

TEST(RunChecks, AnOwnSelectionLeftStandingIsAProblemUnlessEmptyingItFailed) {
    session::SessionOutcome outcome = ownSelectionRun();
    outcome.selection = {"V1"};
    EXPECT_THAT(session::checkRun(outcome, {}),
                ElementsAre("the selection the tool made was not emptied: V1"));
    for (result::Event& event : outcome.events) {
        auto* e = std::get_if<result::HostEvent>(&event);
        if (e != nullptr && e->object == "selectSet" && e->member == 6) {
            e->ok = false;
        }
    }
    EXPECT_THAT(session::checkRun(outcome, {}), IsEmpty());
}

TEST(RunChecks, AFailedFetchOfTheSelectionBeforeGivingSolidEdgeBackExplainsIt) {
    // Without a model reference the run stays tolerant to its end, so a
    // failed fetch of the select set for emptying it is passed over.
    json scene = drawingScene({}, {});
    scene["drawingViews"][0]["model"] = nullptr;
    const std::int32_t calls = run(scene).hostCalls;
    // From the end: the shutdown's two puts, the closing command, the run's
    // two puts, the clearing call, the fetch of the select set.
    const std::int32_t fetch = calls - 6;
    scene["failCall"] = fetch;
    const session::SessionOutcome outcome = run(scene);
    ASSERT_THAT(outcome.selection, ElementsAre("V1"));
    EXPECT_THAT(session::checkRun(outcome, {fetch}), IsEmpty());
    EXPECT_THAT(session::checkRun(outcome, {fetch - 1}), ElementsAre(HasSubstr("not emptied")));
}

}  // namespace
}  // namespace tav::test

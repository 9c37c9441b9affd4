// Whatever single host call fails, the tool comes to an end, holds nothing
// after a shutdown or a refusal, and leaves Solid Edge interactive, unless
// the failed call was itself one of the puts that restore it.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/scenes.h"

namespace tav::test {
namespace {

bool failedPut(const harness::SessionOutcome& outcome, int member, bool value) {
    for (const harness::Event& event : outcome.events) {
        const auto* e = std::get_if<sim::HostEvent>(&event);
        if (e != nullptr && e->verb == sim::HostEvent::Verb::put && e->object == "host" &&
            e->member == member && e->payload == value && !e->ok) {
            return true;
        }
    }
    return false;
}

class FaultSweep : public testing::TestWithParam<std::string> {};

TEST_P(FaultSweep, EveryFailingCallEndsCleanly) {
    json scene = readJson(GetParam());
    const int calls = run(scene).hostCalls;
    ASSERT_GT(calls, 0);
    for (int n = 1; n <= calls; ++n) {
        scene["failCall"] = n;
        const auto outcome = run(scene);
        SCOPED_TRACE("failCall " + std::to_string(n));
        ASSERT_NE(outcome.end, app::ProgramEnd::running);
        if (outcome.end == app::ProgramEnd::myEnd || outcome.end == app::ProgramEnd::refused) {
            EXPECT_EQ(outcome.heldReferences, 0);
        }
        if (!failedPut(outcome, 18, true)) {
            EXPECT_TRUE(outcome.interactive);
        }
        if (!failedPut(outcome, 73, false)) {
            EXPECT_FALSE(outcome.delayCompute);
        }
        EXPECT_LE(messagesOf(outcome).size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, FaultSweep,
    testing::Values(std::string(TAV_TEST_DATA) + "/conformance/01-example.scene.json",
                    std::string(TAV_TEST_DATA) + "/conformance/07-fatal-restores-host.scene.json",
                    std::string(TAV_EXAMPLES) + "/gearbox.scene.json",
                    std::string(TAV_EXAMPLES) + "/empty-selection.scene.json"),
    [](const testing::TestParamInfo<std::string>& param) {
        return "scene" + std::to_string(param.index);
    });

}  // namespace
}  // namespace tav::test

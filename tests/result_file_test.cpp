// The result file as other tools read it: its layout, the events whether the
// session kept them or only streamed them, and the two parts that the COM
// server and the harness write apart and merge.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/automation_ids.h"
#include "host/sim/scene_loader.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/event_log.h"
#include "testbed/result_file/event_merge.h"
#include "testbed/result_file/json_text.h"
#include "testbed/result_file/result_reader.h"
#include "testbed/result_file/result_writer.h"

namespace tav::test {
namespace {

using nlohmann::ordered_json;

const std::string conformanceDir = std::string(TAV_CONFORMANCE_DIR) + "/";

session::SessionOutcome runScene(
    const std::string& path, const std::string& actions, const session::EventSink& live = {},
    session::EventRetention retention = session::EventRetention::keep) {
    return session::runSession(sim::loadScene(path), session::parseActions(actions), live,
                               {.events = retention});
}

std::string gearboxScene() {
    return std::string(TAV_EXAMPLES) + "/gearbox.scene.json";
}

std::string inProcessFile(const session::SessionOutcome& outcome) {
    std::ostringstream out;
    result::writeResultFile(out, outcome);
    return out.str();
}

std::vector<std::string> keysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

// The host's part as the COM server writes it from the same session.
std::string hostPartOf(const session::SessionOutcome& outcome, std::int64_t nameLookups) {
    result::EventLog hostEvents(result::EventLog::CallNumbers::written);
    for (const result::Event& event : outcome.events) {
        if (std::holds_alternative<result::HostEvent>(event)) {
            hostEvents.add(event);
        }
    }
    std::ostringstream out;
    result::writeHostPart(out, outcome, nameLookups, hostEvents);
    return out.str();
}

// The window's events with the host calls made before each: over COM the
// harness counts them; here the last host event's call number stands in.
std::vector<result::WindowEvent> windowEventsOf(const session::SessionOutcome& outcome) {
    std::vector<result::WindowEvent> window;
    std::int32_t callsBefore = 0;
    for (const result::Event& event : outcome.events) {
        if (const auto* host = std::get_if<result::HostEvent>(&event)) {
            callsBefore = host->call;
        } else {
            window.push_back({std::get<app::UiEvent>(event), callsBefore});
        }
    }
    return window;
}

TEST(ResultFile, IsLaidOutAsAJsonDumpWithAnIndentOfOne) {
    const std::string written = inProcessFile(runScene(gearboxScene(), "process"));
    const ordered_json parsed = ordered_json::parse(written);
    EXPECT_EQ(written, parsed.dump(1) + "\n");
    EXPECT_EQ(keysOf(parsed),
              (std::vector<std::string>{"format", "end", "hostCalls", "heldReferences", "host",
                                        "selection", "lineStyles", "members", "window", "events"}));
    EXPECT_GT(parsed["lineStyles"].size(), 2u);
    EXPECT_GT(parsed["events"].size(), 10u);
}

TEST(ResultFile, TextIsEscapedAndLaidOutAsTheJsonLibraryDoes) {
    std::string awkward = "quote \" backslash \\ slash / tab \t DEL \x7f Grüße Σ 𝄞";
    for (char c = 1; c < 0x20; ++c) {
        awkward += c;
    }
    std::string written;
    result::appendJsonString(written, awkward);
    EXPECT_EQ(written, nlohmann::json(awkward).dump());

    const nlohmann::json nested = nlohmann::json::parse(
        R"([1, -2, 3.5, true, null, "x", [], {}, [["a"], {"k": [1, 2]}], 18446744073709551615])");
    for (std::size_t depth : {0u, 1u, 3u}) {
        std::string laidOut;
        result::appendJsonAtDepth(laidOut, nested, depth);
        std::string expected;
        for (char c : nested.dump(1)) {
            expected += c;
            if (c == '\n') {
                expected.append(depth, ' ');
            }
        }
        EXPECT_EQ(laidOut, expected) << "depth " << depth;
    }
}

TEST(ResultFile, EventsStreamedDuringTheRunGiveTheSameFileAsEventsKept) {
    const std::string kept = inProcessFile(runScene(gearboxScene(), "process"));

    result::EventLog events;
    const session::SessionOutcome streamed = runScene(
        gearboxScene(), "process", [&](const result::Event& e) { events.add(e); },
        session::EventRetention::streamOnly);
    EXPECT_TRUE(streamed.events.empty());
    std::ostringstream out;
    result::writeResultFile(out, streamed, events);
    EXPECT_EQ(out.str(), kept);
}

TEST(ResultFile, ARunWithoutEventsWritesAnEmptyList) {
    const session::SessionOutcome outcome =
        runScene(conformanceDir + "02-no-host.scene.json", "process");
    session::SessionOutcome quietOutcome = outcome;
    quietOutcome.events.clear();
    const ordered_json parsed = ordered_json::parse(inProcessFile(quietOutcome));
    EXPECT_EQ(parsed["events"], ordered_json::array());
    EXPECT_EQ(parsed["end"], "refused");
}

TEST(HostPart, HoldsTheHostsFieldsAndNumbersEveryHostEvent) {
    const session::SessionOutcome outcome = runScene(gearboxScene(), "process");
    const ordered_json part = ordered_json::parse(hostPartOf(outcome, 17));
    EXPECT_EQ(keysOf(part),
              (std::vector<std::string>{"format", "hostCalls", "nameLookups", "heldReferences",
                                        "host", "selection", "lineStyles", "members", "events"}));
    EXPECT_EQ(part["nameLookups"], 17);
    std::int64_t previous = 0;
    for (const ordered_json& event : part["events"]) {
        ASSERT_TRUE(event.contains("host")) << event.dump();
        const std::int64_t call = event.at("call");
        EXPECT_GT(call, previous) << "one event per call, in call order";
        EXPECT_LE(call, outcome.hostCalls);
        previous = call;
    }
    // The last host call of a run is the shutdown's put of delay-compute.
    EXPECT_EQ(part["events"].back()["member"], host::dispatch::application::delayCompute);
    EXPECT_EQ(part["events"].back()["call"], outcome.hostCalls);
}

class MergedParts : public testing::TestWithParam<std::string> {};

TEST_P(MergedParts, GiveTheInProcessFileByteForByte) {
    const std::string scene = conformanceDir + GetParam() + ".scene.json";
    const session::SessionOutcome outcome = runScene(scene, "process");

    std::istringstream serverFile(hostPartOf(outcome, 5));
    const result::HostPart host = result::readHostPart(serverFile);
    EXPECT_EQ(host.nameLookups, 5);
    result::EventLog merged;
    result::mergeEvents(windowEventsOf(outcome), host.events, merged);
    std::ostringstream out;
    result::writeResultFile(out, outcome, &host.outcome, std::nullopt, merged);

    EXPECT_EQ(out.str(), inProcessFile(outcome));
}

INSTANTIATE_TEST_SUITE_P(Scenes, MergedParts,
                         testing::Values("01-example", "07-fatal-restores-host", "08-filter",
                                         "10-existing-style-and-faults"),
                         [](const testing::TestParamInfo<std::string>& param) {
                             return "scene" + param.param.substr(0, 2);
                         });

TEST(HostPart, AHostThatNeverFinishedLeavesOnlyTheWindowsPart) {
    const session::SessionOutcome outcome = runScene(gearboxScene(), "process");
    result::EventLog windowEvents;
    for (const result::WindowEvent& event : windowEventsOf(outcome)) {
        windowEvents.add(event.event);
    }
    std::ostringstream out;
    result::writeResultFile(out, outcome, nullptr, std::nullopt, windowEvents);
    const ordered_json parsed = ordered_json::parse(out.str());
    EXPECT_EQ(keysOf(parsed), (std::vector<std::string>{"format", "end", "window", "events"}));
    for (const ordered_json& event : parsed["events"]) {
        EXPECT_TRUE(event.contains("ui")) << event.dump();
    }
}

TEST(HostPart, AnUnreadableFileIsRefusedWithAReason) {
    std::istringstream notJson("{\"format\": \"tavrelmondix-result/1\", \"hostCalls\": ");
    EXPECT_THROW(result::readHostPart(notJson), std::runtime_error);
    std::istringstream missingEvents(R"({"format": "tavrelmondix-result/1", "hostCalls": 1})");
    EXPECT_THROW(result::readHostPart(missingEvents), std::runtime_error);
}

}  // namespace
}  // namespace tav::test

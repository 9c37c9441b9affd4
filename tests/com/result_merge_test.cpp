// The result of a run over COM, made of the tool's side and the host's: the
// events in the order they happened, the shape of an in-process result, and
// the comparison that holds the two kinds of result to each other.
#include <gtest/gtest.h>

#include "tools/compare/result_compare.h"
#include "tools/harness/result_merge.h"

namespace tav::harness {
namespace {

using nlohmann::ordered_json;

ordered_json caption(const char* text) {
    return {{"ui", "caption"}, {"control", "lblVista"}, {"text", text}};
}

ordered_json put(int call, bool value) {
    return {{"host", "put"},  {"object", "host"}, {"member", 18},
            {"value", value}, {"ok", true},       {"call", call}};
}

ordered_json toolSide(ordered_json events) {
    return {{"format", "tavrelmondix-result/1"},
            {"end", "my_end"},
            {"hostCalls", 0},
            {"heldReferences", 0},
            {"host", nullptr},
            {"selection", ordered_json::array()},
            {"lineStyles", ordered_json::array()},
            {"members", ordered_json::array()},
            {"window", {{"lblVista", "Working"}}},
            {"events", std::move(events)}};
}

ordered_json hostSide(ordered_json events) {
    return {{"format", "tavrelmondix-result/1"},
            {"hostCalls", 9},
            {"heldReferences", 0},
            {"host", {{"properties", {{"18", true}, {"73", false}}}, {"commands", {32876}}}},
            {"selection", {"V1"}},
            {"lineStyles", ordered_json::array()},
            {"members", ordered_json::array()},
            {"events", std::move(events)},
            {"nameLookups", 3}};
}

TEST(ComResult, EventsFallInTheOrderTheyHappened) {
    // "Working" was shown after 2 calls, "Done" after 5; the puts were calls 1, 3 and 6.
    const ordered_json host = hostSide({put(1, false), put(3, true), put(6, true)});
    ordered_json merged =
        mergeResults(toolSide({caption("Working"), caption("Done")}), {2, 5}, &host);
    const ordered_json& events = merged.at("events");
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].value("member", 0), 18);
    EXPECT_EQ(events[1].value("text", ""), "Working");
    EXPECT_EQ(events[2].value("value", false), true);
    EXPECT_EQ(events[3].value("text", ""), "Done");
    EXPECT_FALSE(events[4].contains("call"));  // the call numbers stay on the host's side
}

TEST(ComResult, TheMergedFileHasTheInProcessShapePlusNameLookups) {
    const ordered_json host = hostSide(ordered_json::array());
    ordered_json merged = mergeResults(toolSide(ordered_json::array()), {}, &host);
    std::vector<std::string> keys;
    for (const auto& [key, value] : merged.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"format", "end", "hostCalls", "heldReferences",
                                              "host", "selection", "lineStyles", "members",
                                              "window", "events", "nameLookups"}));
    EXPECT_EQ(merged.at("hostCalls"), 9);
}

TEST(ComResult, AHostThatDiedLeavesOnlyTheToolsSide) {
    ordered_json merged = mergeResults(toolSide({caption("Working")}), {4}, nullptr);
    EXPECT_EQ(merged.size(), 4u);
    EXPECT_FALSE(merged.contains("hostCalls"));
    EXPECT_EQ(merged.at("events").size(), 1u);
}

TEST(ComResult, EqualResultsAgreeWhateverTheNameLookups) {
    ordered_json inProcess = toolSide({caption("Working")});
    ordered_json overCom = inProcess;
    overCom["nameLookups"] = 7;
    EXPECT_TRUE(compare::resultDifferences(inProcess, overCom).empty());
}

TEST(ComResult, ADifferentEventIsNamedByItsPath) {
    ordered_json inProcess = toolSide({caption("Working"), caption("Done")});
    ordered_json overCom = toolSide({caption("Working"), caption("Dome")});
    auto differences = compare::resultDifferences(inProcess, overCom);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0], "events[1].text: expected \"Done\", got \"Dome\"");
}

TEST(ComResult, HeldReferencesMayDifferOnlyWhenTheProgramEndedAtOnce) {
    ordered_json inProcess = toolSide(ordered_json::array());
    ordered_json overCom = inProcess;
    inProcess["heldReferences"] = 4;
    EXPECT_EQ(compare::resultDifferences(inProcess, overCom).size(), 1u);
    inProcess["end"] = overCom["end"] = "fatal";
    EXPECT_TRUE(compare::resultDifferences(inProcess, overCom).empty());
}

TEST(ComResult, AMissingOrExtraFieldIsADifference) {
    ordered_json inProcess = toolSide(ordered_json::array());
    ordered_json overCom = inProcess;
    overCom.erase("selection");
    overCom["surprise"] = 1;
    EXPECT_EQ(compare::resultDifferences(inProcess, overCom).size(), 2u);
}

}  // namespace
}  // namespace tav::harness

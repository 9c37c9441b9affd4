// The comparison that holds a result over COM to the in-process one: field by
// field and event by event, with what may differ left out.
#include <gtest/gtest.h>

#include "testbed/result_file/result_compare.h"

namespace tav::result {
namespace {

using nlohmann::ordered_json;

ordered_json caption(const char* text) {
    return {{"ui", "caption"}, {"control", "lblVista"}, {"text", text}};
}

ordered_json resultWith(ordered_json events) {
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

TEST(ResultComparison, EqualResultsAgreeWhateverTheNameLookups) {
    ordered_json inProcess = resultWith({caption("Working")});
    ordered_json overCom = inProcess;
    overCom["nameLookups"] = 7;
    EXPECT_TRUE(resultDifferences(inProcess, overCom).empty());
}

TEST(ResultComparison, ADifferentEventIsNamedByItsPath) {
    ordered_json inProcess = resultWith({caption("Working"), caption("Done")});
    ordered_json overCom = resultWith({caption("Working"), caption("Dome")});
    auto differences = resultDifferences(inProcess, overCom);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0], "events[1].text: expected \"Done\", got \"Dome\"");
}

TEST(ResultComparison, HeldReferencesAreComparedHoweverTheProgramEnded) {
    ordered_json inProcess = resultWith(ordered_json::array());
    ordered_json overCom = inProcess;
    overCom["heldReferences"] = 4;
    for (const char* end : {"my_end", "fatal", "closed"}) {
        inProcess["end"] = overCom["end"] = end;
        EXPECT_EQ(resultDifferences(inProcess, overCom).size(), 1u) << end;
    }
}

TEST(ResultComparison, ReleasesABusyHostRejectedAreAllItMayStillHold) {
    ordered_json inProcess = resultWith(ordered_json::array());
    ordered_json overCom = inProcess;
    overCom["heldReferences"] = 3;
    overCom["rejectedReleases"] = 3;
    EXPECT_TRUE(resultDifferences(inProcess, overCom).empty());

    overCom["heldReferences"] = 4;  // one more than the host could not take back
    const auto differences = resultDifferences(inProcess, overCom);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0], "heldReferences: expected 0, got 1");
}

TEST(ResultComparison, AMissingOrExtraFieldIsADifference) {
    ordered_json inProcess = resultWith(ordered_json::array());
    ordered_json overCom = inProcess;
    overCom.erase("selection");
    overCom["surprise"] = 1;
    EXPECT_EQ(resultDifferences(inProcess, overCom).size(), 2u);
}

}  // namespace
}  // namespace tav::result

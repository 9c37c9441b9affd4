// Every scene under data/conformance, run with its actions, must give its
// result file field by field and event by event. Two allowances: the fatal
// error message is compared by presence and title only, and heldReferences
// (absent from the files) must be 0 after a shutdown or a refusal.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/result_writer.h"
#include "tests/support/scenes.h"

namespace tav::test {
namespace {

const std::string conformanceDir = std::string(TAV_TEST_DATA) + "/conformance/";

// The scenes and their actions, as cases.json lists them.
json conformanceCases() {
    return readJson(conformanceDir + "cases.json");
}

std::vector<std::string> conformanceScenes() {
    const json cases = conformanceCases();
    std::vector<std::string> names;
    for (auto it = cases.begin(); it != cases.end(); ++it) {
        names.push_back(it.key());
    }
    return names;
}

bool isRefusal(const json& text) {
    return text == "A SE Draft file from an ASM must be open" ||
           text == "There are no Drawing Views in this Sheet. Exiting.";
}

class Conformance : public testing::TestWithParam<std::string> {};

TEST_P(Conformance, GivesItsResult) {
    const std::string name = GetParam();
    const json cases = conformanceCases();
    const auto outcome =
        session::runSession(sim::loadScene(conformanceDir + name + ".scene.json"),
                            session::parseActions(cases.at(name).get<std::string>()));
    std::stringstream written;
    result::writeResultFile(written, outcome);
    json actual = json::parse(written);
    json expected = readJson(conformanceDir + name + ".result.json");

    // However the program ended, it gave every reference back.
    EXPECT_EQ(actual["heldReferences"], 0);
    actual.erase("heldReferences");

    auto& actualEvents = actual["events"];
    const auto& expectedEvents = expected["events"];
    for (std::size_t i = 0; i < actualEvents.size() && i < expectedEvents.size(); ++i) {
        json& a = actualEvents[i];
        const json& e = expectedEvents[i];
        if (a.value("ui", "") == "message" && e.value("ui", "") == "message" &&
            !isRefusal(e["text"]) && !isRefusal(a["text"])) {
            a["text"] = e["text"];  // wording of the error message is ours
        }
    }
    EXPECT_EQ(actual, expected) << "differences (JSON patch from expected to actual):\n"
                                << json::diff(expected, actual).dump(1);
}

INSTANTIATE_TEST_SUITE_P(Scenes, Conformance, testing::ValuesIn(conformanceScenes()),
                         [](const testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 if (c == '-') {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace tav::test

// Scenes as a server reads them: the two keys that act over COM only are
// taken, checked and named in errors like every other key.
#include <gtest/gtest.h>

#include <string>

#include "host/sim/scene_error.h"
#include "tools/sehost-sim/server_scene.h"

namespace tav::sehost {
namespace {

std::string sceneWith(const std::string& extra) {
    return R"({"format": "tavrelmondix-scene/1", "host": {"running": true},
               "activeDocument": null, "documents": {}, "drawingViews": [])" +
           extra + "}";
}

std::string refusal(const std::string& text) {
    try {
        parseServerScene(text, "s.json");
    } catch (const sim::SceneError& error) {
        return error.what();
    }
    return "";
}

TEST(ServerScene, BusyAndCrashAtCallAreTakenForTheServer) {
    const ServerScene scene = parseServerScene(
        sceneWith(R"(, "busy": {"call": 4, "rejections": 2}, "crashAtCall": 9)"), "s.json");
    ASSERT_TRUE(scene.busy);
    EXPECT_EQ(scene.busy->call, 4);
    EXPECT_EQ(scene.busy->rejections, 2);
    EXPECT_EQ(scene.crashAtCall, 9);
    EXPECT_TRUE(scene.scene.host.running);
}

TEST(ServerScene, WithoutThemNothingIsBusyAndNothingCrashes) {
    const ServerScene scene = parseServerScene(sceneWith(R"(, "crashAtCall": null)"), "s.json");
    EXPECT_FALSE(scene.busy);
    EXPECT_FALSE(scene.crashAtCall);
}

TEST(ServerScene, BadValuesAreRefusedWithTheirPath) {
    EXPECT_EQ(refusal(sceneWith(R"(, "crashAtCall": 0)")),
              "s.json: crashAtCall: must be at least 1");
    EXPECT_EQ(refusal(sceneWith(R"(, "busy": {"call": 1})")),
              "s.json: busy: needs both \"call\" and \"rejections\"");
    EXPECT_EQ(refusal(sceneWith(R"(, "busy": {"call": 1, "rejections": 1, "after": 2})")),
              "s.json: busy.after: unknown key (allowed: call, rejections)");
    EXPECT_EQ(refusal(sceneWith(R"(, "busy": {"call": "one", "rejections": 1})")),
              "s.json: busy.call: must be an integer");
}

TEST(ServerScene, TheRestOfTheSceneIsCheckedByTheSceneLoader) {
    EXPECT_NE(refusal(sceneWith(R"(, "crashAtCal": 3)")).find("crashAtCal"), std::string::npos);
    EXPECT_NE(refusal("{\"format\": ").find("s.json"), std::string::npos);
}

}  // namespace
}  // namespace tav::sehost

#include "tests/support/scenes.h"

#include <fstream>
#include <stdexcept>

#include "host/sim/scene_loader.h"
#include "testbed/result_file/event_text.h"
#include "testbed/result_file/result_writer.h"
#include "testbed/scene_generators/generated_scene.h"

namespace tav::test {

json drawingScene(std::vector<json> occurrences, std::vector<json> rootChildren) {
    return scenegen::singleViewScene(json(std::move(occurrences)), json(std::move(rootChildren)));
}

sim::Scene sceneFrom(const json& scene) {
    return sim::parseScene(scene.dump(), "test scene");
}

json readJson(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return json::parse(file);
}

session::SessionOutcome run(const json& scene, const std::string& actions) {
    return session::runSession(sceneFrom(scene), session::parseActions(actions));
}

std::vector<json> eventsOf(const result::Outcome& outcome, const std::string& kind) {
    std::vector<json> events;
    for (const result::Event& event : outcome.events) {
        std::string text;
        result::appendEvent(text, event, 0, std::nullopt);
        json e = json::parse(text);
        if (kind.empty() || e.contains(kind)) {
            events.push_back(std::move(e));
        }
    }
    return events;
}

std::vector<std::string> captionsOf(const session::SessionOutcome& outcome,
                                    const std::string& control) {
    std::vector<std::string> captions;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "caption" && e["control"] == control) {
            captions.push_back(e["text"]);
        }
    }
    return captions;
}

std::vector<std::string> messagesOf(const session::SessionOutcome& outcome) {
    std::vector<std::string> messages;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "message") {
            messages.push_back(e["text"]);
        }
    }
    return messages;
}

std::string stylesOf(const session::SessionOutcome& outcome, const std::string& memberId) {
    for (const result::PartMemberState& member : outcome.partMembers) {
        if (member.id == memberId) {
            return member.visible + "|" + member.hidden + "|" + member.tangent;
        }
    }
    return "no member " + memberId;
}

}  // namespace tav::test

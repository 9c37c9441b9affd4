#include "tests/support/scenes.h"

#include <fstream>
#include <stdexcept>

#include "host/sim/scene_loader.h"
#include "tools/harness/result_file.h"
#include "tools/scenegen/generated_scene.h"

namespace tav::test {

json drawingScene(json occurrences, json rootChildren) {
    return scenegen::singleViewScene(std::move(occurrences), std::move(rootChildren));
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

harness::SessionOutcome run(const json& scene, const std::string& actions) {
    return harness::runSession(sceneFrom(scene), harness::parseActions(actions));
}

std::vector<json> eventsOf(const harness::SessionOutcome& outcome, const std::string& kind) {
    std::vector<json> events;
    for (const harness::Event& event : outcome.events) {
        json e = harness::eventJson(event);
        if (kind.empty() || e.contains(kind)) {
            events.push_back(std::move(e));
        }
    }
    return events;
}

std::vector<std::string> captionsOf(const harness::SessionOutcome& outcome,
                                    const std::string& control) {
    std::vector<std::string> captions;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "caption" && e["control"] == control) {
            captions.push_back(e["text"]);
        }
    }
    return captions;
}

std::vector<std::string> messagesOf(const harness::SessionOutcome& outcome) {
    std::vector<std::string> messages;
    for (const json& e : eventsOf(outcome, "ui")) {
        if (e["ui"] == "message") {
            messages.push_back(e["text"]);
        }
    }
    return messages;
}

std::string stylesOf(const harness::SessionOutcome& outcome, const std::string& memberId) {
    for (const sim::PartMemberState& member : outcome.partMembers) {
        if (member.id == memberId) {
            return member.visible + "|" + member.hidden + "|" + member.tangent;
        }
    }
    return "no member " + memberId;
}

std::vector<std::string> createdStyles(const harness::SessionOutcome& outcome) {
    std::vector<std::string> names;
    for (const sim::LineStyleState& style : outcome.lineStyles) {
        if (style.templateName) {
            names.push_back(style.name);
        }
    }
    return names;
}

}  // namespace tav::test

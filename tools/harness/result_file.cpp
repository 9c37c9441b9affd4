#include "tools/harness/result_file.h"

#include <cmath>
#include <type_traits>

#include "host/utf.h"

namespace tav::harness {
namespace {

using host::toUtf8;
using nlohmann::ordered_json;

// Progress bar numbers are written as JSON integers.
std::int64_t progressNumber(float value) {
    return std::llround(static_cast<double>(value));
}

ordered_json uiEventJson(const app::UiEvent& event) {
    return std::visit(
        [](const auto& e) -> ordered_json {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, app::CaptionChanged>) {
                return {{"ui", "caption"}, {"control", e.control}, {"text", toUtf8(e.text)}};
            } else if constexpr (std::is_same_v<T, app::ProgressChanged>) {
                return {{"ui", "pb"}, {"property", e.property}, {"value", progressNumber(e.value)}};
            } else if constexpr (std::is_same_v<T, app::Repainted>) {
                return {{"ui", "repaint"}};
            } else if constexpr (std::is_same_v<T, app::MessageShown>) {
                return {{"ui", "message"}, {"title", toUtf8(e.title)}, {"text", toUtf8(e.text)}};
            } else {
                return {
                    {"ui", "about"}, {"title", toUtf8(e.title)}, {"version", toUtf8(e.version)}};
            }
        },
        event);
}

ordered_json hostEventJson(const sim::HostEvent& event) {
    const bool isPut = event.verb == sim::HostEvent::Verb::put;
    ordered_json json{
        {"host", isPut ? "put" : "call"}, {"object", event.object}, {"member", event.member}};
    json[isPut ? "value" : "args"] = event.payload;
    json["ok"] = event.ok;
    return json;
}

}  // namespace

ordered_json eventJson(const Event& event) {
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        return uiEventJson(*ui);
    }
    return hostEventJson(std::get<sim::HostEvent>(event));
}

ordered_json resultJson(const SessionOutcome& outcome) {
    ordered_json lineStyles = ordered_json::array();
    for (const sim::LineStyleState& style : outcome.lineStyles) {
        lineStyles.push_back({{"name", style.name},
                              {"color", style.color},
                              {"template", style.templateName ? ordered_json(*style.templateName)
                                                              : ordered_json(nullptr)}});
    }
    ordered_json members = ordered_json::array();
    for (const sim::PartMemberState& member : outcome.partMembers) {
        members.push_back({{"view", member.view},
                           {"id", member.id},
                           {"visible", member.visible},
                           {"hidden", member.hidden},
                           {"tangent", member.tangent}});
    }
    ordered_json events = ordered_json::array();
    for (const Event& event : outcome.events) {
        events.push_back(eventJson(event));
    }
    const WindowState& window = outcome.window;
    return ordered_json{
        {"format", "tavrelmondix-result/1"},
        {"end", endName(outcome.end)},
        {"hostCalls", outcome.hostCalls},
        {"heldReferences", outcome.heldReferences},
        {"host",
         {{"properties", {{"18", outcome.interactive}, {"73", outcome.delayCompute}}},
          {"commands", outcome.commands}}},
        {"selection", outcome.selection},
        {"lineStyles", lineStyles},
        {"members", members},
        {"window",
         {{"lblVista", toUtf8(window.lblVista)},
          {"lblPieza", toUtf8(window.lblPieza)},
          {"pb",
           {{"min", progressNumber(window.progressMin)},
            {"max", progressNumber(window.progressMax)},
            {"value", progressNumber(window.progressValue)}}}}},
        {"events", events},
    };
}

}  // namespace tav::harness

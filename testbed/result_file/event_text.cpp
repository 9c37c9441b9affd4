#include "testbed/result_file/event_text.h"

#include <cmath>
#include <type_traits>

#include "platform/utf.h"
#include "testbed/result_file/json_text.h"
#include "testbed/result_file/result_format.h"

namespace tav::result {
namespace {

void appendUiEvent(JsonObjectText& object, const app::UiEvent& event) {
    std::visit(
        [&object](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, app::CaptionChanged>) {
                object.text(uiEvent::kind, uiEvent::caption);
                object.text(uiEvent::control, e.control);
                object.text(uiEvent::text, platform::toUtf8(e.text));
            } else if constexpr (std::is_same_v<T, app::ProgressChanged>) {
                object.text(uiEvent::kind, uiEvent::progress);
                object.text(uiEvent::property, e.property);
                object.number(uiEvent::value, progressNumber(e.value));
            } else if constexpr (std::is_same_v<T, app::Repainted>) {
                object.text(uiEvent::kind, uiEvent::repaint);
            } else if constexpr (std::is_same_v<T, app::MessageShown>) {
                object.text(uiEvent::kind, uiEvent::message);
                object.text(uiEvent::title, platform::toUtf8(e.title));
                object.text(uiEvent::text, platform::toUtf8(e.text));
            } else {
                object.text(uiEvent::kind, uiEvent::about);
                object.text(uiEvent::title, platform::toUtf8(e.title));
                object.text(uiEvent::version, platform::toUtf8(e.version));
            }
        },
        event);
}

void appendHostEvent(JsonObjectText& object, const result::HostEvent& event) {
    const bool isPut = event.verb == result::HostEvent::Verb::put;
    object.text(hostEvent::kind, isPut ? hostEvent::put : hostEvent::call);
    object.text(hostEvent::object, event.object);
    if (event.memberName.empty()) {
        object.number(hostEvent::member, event.member);
    } else {
        object.text(hostEvent::member, event.memberName);
    }
    object.json(isPut ? hostEvent::value : hostEvent::args, event.payload);
    object.boolean(hostEvent::ok, event.ok);
}

}  // namespace

std::int64_t progressNumber(float value) {
    return std::llround(static_cast<double>(value));
}

void appendEvent(std::string& out, const Event& event, std::size_t depth,
                 std::optional<std::int32_t> call) {
    JsonObjectText object(out, depth);
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        appendUiEvent(object, *ui);
        return;
    }
    appendHostEvent(object, std::get<result::HostEvent>(event));
    if (call) {
        object.number(hostEvent::callNumber, *call);
    }
}

}  // namespace tav::result

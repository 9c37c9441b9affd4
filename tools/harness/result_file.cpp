#include "tools/harness/result_file.h"

#include <cmath>
#include <string_view>
#include <type_traits>

#include "app/recording_window.h"
#include "app/window_state.h"
#include "host/utf.h"
#include "tools/harness/json_text.h"

namespace tav::harness {
namespace {

using host::toUtf8;
using nlohmann::ordered_json;

constexpr std::string_view resultFormat = "tavrelmondix-result/1";

// Progress bar numbers are written as JSON integers.
std::int64_t progressNumber(float value) {
    return std::llround(static_cast<double>(value));
}

void appendUiEvent(JsonObjectText& object, const app::UiEvent& event) {
    std::visit(
        [&object](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, app::CaptionChanged>) {
                object.text("ui", "caption");
                object.text("control", e.control);
                object.text("text", toUtf8(e.text));
            } else if constexpr (std::is_same_v<T, app::ProgressChanged>) {
                object.text("ui", "pb");
                object.text("property", e.property);
                object.number("value", progressNumber(e.value));
            } else if constexpr (std::is_same_v<T, app::Repainted>) {
                object.text("ui", "repaint");
            } else if constexpr (std::is_same_v<T, app::MessageShown>) {
                object.text("ui", "message");
                object.text("title", toUtf8(e.title));
                object.text("text", toUtf8(e.text));
            } else {
                object.text("ui", "about");
                object.text("title", toUtf8(e.title));
                object.text("version", toUtf8(e.version));
            }
        },
        event);
}

void appendHostEvent(JsonObjectText& object, const sim::HostEvent& event) {
    const bool isPut = event.verb == sim::HostEvent::Verb::put;
    object.text("host", isPut ? "put" : "call");
    object.text("object", event.object);
    object.number("member", event.member);
    object.json(isPut ? "value" : "args", event.payload);
    object.boolean("ok", event.ok);
}

void appendLineStyle(std::string& out, const sim::LineStyleState& style) {
    JsonObjectText object(out, 2);
    object.text("name", style.name);
    object.number("color", style.color);
    if (style.templateName) {
        object.text("template", *style.templateName);
    } else {
        object.null("template");
    }
}

void appendMember(std::string& out, const sim::PartMemberState& member) {
    JsonObjectText object(out, 2);
    object.text("view", member.view);
    object.text("id", member.id);
    object.text("visible", member.visible);
    object.text("hidden", member.hidden);
    object.text("tangent", member.tangent);
}

// The top-level object, one field after the other.
class ResultWriter {
  public:
    explicit ResultWriter(std::ostream& out) : out_(out) {}

    void field(std::string_view name, const ordered_json& value) {
        key(name);
        std::string text;
        appendJsonAtDepth(text, value, 1);
        out_ << text;
    }

    // `appendItem` appends one item's text, two levels deep.
    template <class Items, class AppendItem>
    void arrayField(std::string_view name, const Items& items, AppendItem&& appendItem) {
        key(name);
        if (items.empty()) {
            out_ << "[]";
            return;
        }
        std::string text;
        bool first = true;
        for (const auto& item : items) {
            text = first ? "[\n  " : ",\n  ";
            first = false;
            appendItem(text, item);
            out_ << text;
        }
        out_ << "\n ]";
    }

    void events(const EventLog& events) {
        key("events");
        events.writeArray(out_);
    }

    void finish() { out_ << (first_ ? "{}\n" : "\n}\n"); }

  private:
    void key(std::string_view name) {
        out_ << (first_ ? "{\n \"" : ",\n \"") << name << "\": ";
        first_ = false;
    }

    std::ostream& out_;
    bool first_ = true;
};

ordered_json windowJson(const app::WindowState& window) {
    const app::ProgressBarState& progress = window.progress();
    using engine::StatusLine;
    return {{app::controlName(StatusLine::view), toUtf8(window.caption(StatusLine::view))},
            {app::controlName(StatusLine::part), toUtf8(window.caption(StatusLine::part))},
            {"pb",
             {{"min", progressNumber(progress.min)},
              {"max", progressNumber(progress.max)},
              {"value", progressNumber(progress.value)}}}};
}

// Every field either part gives, in the order of the in-process file.
void writeParts(std::ostream& out, const WindowOutcome* window, const HostOutcome* host,
                std::optional<std::int64_t> nameLookups, const EventLog& events) {
    ResultWriter writer(out);
    writer.field("format", resultFormat);
    if (window) {
        writer.field("end", endName(window->end));
    }
    if (host) {
        writer.field("hostCalls", host->hostCalls);
    }
    if (nameLookups) {
        writer.field("nameLookups", *nameLookups);
    }
    if (host) {
        writer.field("heldReferences", host->heldReferences);
        writer.field("host",
                     {{"properties", {{"18", host->interactive}, {"73", host->delayCompute}}},
                      {"commands", host->commands}});
        writer.field("selection", host->selection);
        writer.arrayField("lineStyles", host->lineStyles, appendLineStyle);
        writer.arrayField("members", host->partMembers, appendMember);
    }
    if (window) {
        writer.field("window", windowJson(window->window));
    }
    writer.events(events);
    writer.finish();
}

}  // namespace

void appendEvent(std::string& out, const Event& event, std::size_t depth,
                 std::optional<std::int32_t> call) {
    JsonObjectText object(out, depth);
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        appendUiEvent(object, *ui);
        return;
    }
    appendHostEvent(object, std::get<sim::HostEvent>(event));
    if (call) {
        object.number("call", *call);
    }
}

ordered_json eventJson(const Event& event) {
    std::string text;
    appendEvent(text, event, 0, std::nullopt);
    return ordered_json::parse(text);
}

void writeResultFile(std::ostream& out, const SessionOutcome& outcome, const EventLog& events) {
    writeParts(out, &outcome, &outcome, std::nullopt, events);
}

void writeResultFile(std::ostream& out, const SessionOutcome& outcome) {
    EventLog events;
    for (const Event& event : outcome.events) {
        events.add(event);
    }
    writeResultFile(out, outcome, events);
}

void writeResultFile(std::ostream& out, const WindowOutcome& window, const HostOutcome* host,
                     std::optional<std::int64_t> nameLookups, const EventLog& events) {
    writeParts(out, &window, host, nameLookups, events);
}

void writeHostPart(std::ostream& out, const HostOutcome& host, std::int64_t nameLookups,
                   const EventLog& hostEvents) {
    writeParts(out, nullptr, &host, nameLookups, hostEvents);
}

}  // namespace tav::harness

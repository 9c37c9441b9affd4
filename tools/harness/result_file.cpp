#include "tools/harness/result_file.h"

#include <cmath>
#include <string_view>
#include <type_traits>

#include "host/utf.h"

namespace tav::harness {
namespace {

using host::toUtf8;
using nlohmann::ordered_json;

constexpr std::string_view resultFormat = "tavrelmondix-result/1";

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

// `value` dumped as nlohmann's dump(1) would at `depth` levels of nesting.
void appendAtDepth(std::string& out, const ordered_json& value, std::size_t depth) {
    for (char c : value.dump(1)) {
        out += c;
        if (c == '\n') {
            out.append(depth, ' ');
        }
    }
}

// The top-level object, one field after the other.
class ResultWriter {
  public:
    explicit ResultWriter(std::ostream& out) : out_(out) {}

    void field(std::string_view name, const ordered_json& value) {
        key(name);
        std::string text;
        appendAtDepth(text, value, 1);
        out_ << text;
    }

    template <class Items, class ToJson>
    void arrayField(std::string_view name, const Items& items, ToJson&& toJson) {
        key(name);
        if (items.empty()) {
            out_ << "[]";
            return;
        }
        // The first item's separator is an opening bracket instead of a comma.
        bool first = true;
        for (const auto& item : items) {
            std::string text = resultArrayItem(toJson(item));
            if (first) {
                text[0] = '[';
                first = false;
            }
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

ordered_json lineStyleJson(const sim::LineStyleState& style) {
    return {{"name", style.name},
            {"color", style.color},
            {"template",
             style.templateName ? ordered_json(*style.templateName) : ordered_json(nullptr)}};
}

ordered_json memberJson(const sim::PartMemberState& member) {
    return {{"view", member.view},
            {"id", member.id},
            {"visible", member.visible},
            {"hidden", member.hidden},
            {"tangent", member.tangent}};
}

ordered_json windowJson(const WindowState& window) {
    return {{"lblVista", toUtf8(window.lblVista)},
            {"lblPieza", toUtf8(window.lblPieza)},
            {"pb",
             {{"min", progressNumber(window.progressMin)},
              {"max", progressNumber(window.progressMax)},
              {"value", progressNumber(window.progressValue)}}}};
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
        writer.arrayField("lineStyles", host->lineStyles, lineStyleJson);
        writer.arrayField("members", host->partMembers, memberJson);
    }
    if (window) {
        writer.field("window", windowJson(window->window));
    }
    writer.events(events);
    writer.finish();
}

}  // namespace

ordered_json eventJson(const Event& event) {
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        return uiEventJson(*ui);
    }
    return hostEventJson(std::get<sim::HostEvent>(event));
}

std::string resultArrayItem(const ordered_json& item) {
    std::string text = ",\n  ";
    appendAtDepth(text, item, 2);
    return text;
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

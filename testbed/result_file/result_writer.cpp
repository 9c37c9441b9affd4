#include "testbed/result_file/result_writer.h"

#include <string>
#include <string_view>

#include "app/recording_window.h"
#include "platform/utf.h"
#include "testbed/result_file/event_text.h"
#include "testbed/result_file/json_text.h"
#include "testbed/result_file/result_format.h"

namespace tav::result {
namespace {

using nlohmann::ordered_json;

void appendLineStyle(std::string& out, const result::LineStyleState& style) {
    JsonObjectText object(out, 2);
    object.text(lineStyleField::name, style.name);
    object.number(lineStyleField::color, style.color);
    if (style.templateName) {
        object.text(lineStyleField::templateName, *style.templateName);
    } else {
        object.null(lineStyleField::templateName);
    }
}

void appendMember(std::string& out, const result::PartMemberState& member) {
    JsonObjectText object(out, 2);
    object.text(memberField::view, member.view);
    object.text(memberField::id, member.id);
    object.text(memberField::visible, member.visible);
    object.text(memberField::hidden, member.hidden);
    object.text(memberField::tangent, member.tangent);
}

ordered_json lineStyleJson(const result::LineStyleState& style) {
    ordered_json object{{lineStyleField::name, style.name}, {lineStyleField::color, style.color}};
    object[lineStyleField::templateName] =
        style.templateName ? ordered_json(*style.templateName) : ordered_json(nullptr);
    return object;
}

void appendDocument(std::string& out, const result::DocumentState& document) {
    ordered_json object{{documentField::id, document.id},
                        {documentField::path, document.path},
                        {documentField::open, document.open},
                        {documentField::active, document.active},
                        {documentField::saves, document.saves}};
    if (document.unsaved) {
        object[documentField::unsaved] = *document.unsaved;
    }
    if (document.draft) {
        object[documentField::activeSheet] = document.activeSheet;
        object[documentField::selection] = document.selection;
        ordered_json styles = ordered_json::array();
        for (const result::LineStyleState& style : document.lineStyles) {
            styles.push_back(lineStyleJson(style));
        }
        object[documentField::lineStyles] = std::move(styles);
    }
    appendJsonAtDepth(out, object, 2);
}

ordered_json cliJson(const CliOutcome& cli) {
    ordered_json object{{cliField::exitCode, cli.exitCode},
                        {cliField::stdoutLines, cli.stdoutLines}};
    object[cliField::errorMessages] =
        cli.errorMessages ? ordered_json(*cli.errorMessages) : ordered_json(nullptr);
    object[cliField::report] = cli.report ? ordered_json(*cli.report) : ordered_json(nullptr);
    return object;
}

// The top-level object, one field after the other.
class ResultWriter {
  public:
    explicit ResultWriter(std::ostream& out) : out_(out) {}

    void write(std::string_view name, const ordered_json& value) {
        key(name);
        std::string text;
        appendJsonAtDepth(text, value, 1);
        out_ << text;
    }

    // `appendItem` appends one item's text, two levels deep.
    template <class Items, class AppendItem>
    void writeArray(std::string_view name, const Items& items, AppendItem&& appendItem) {
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

    void writeEvents(const EventLog& events) {
        key(field::events);
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
    return {
        {app::controlName(StatusLine::view), platform::toUtf8(window.caption(StatusLine::view))},
        {app::controlName(StatusLine::part), platform::toUtf8(window.caption(StatusLine::part))},
        {windowField::progressBar,
         {{windowField::progressMin, progressNumber(progress.min)},
          {windowField::progressMax, progressNumber(progress.max)},
          {windowField::progressValue, progressNumber(progress.value)}}}};
}

// Every field either part gives, in the order of the in-process file.
void writeParts(std::ostream& out, const WindowOutcome* window, const HostOutcome* host,
                std::optional<std::int64_t> nameLookups, const EventLog& events) {
    ResultWriter writer(out);
    writer.write(field::format, formatName);
    if (window) {
        writer.write(field::end, endName(*window));
    }
    if (host) {
        writer.write(field::hostCalls, host->hostCalls);
    }
    if (nameLookups) {
        writer.write(field::nameLookups, *nameLookups);
    }
    if (host) {
        writer.write(field::heldReferences, host->heldReferences);
        if (host->rejectedReleases) {
            writer.write(field::rejectedReleases, *host->rejectedReleases);
        }
        ordered_json hostState{{hostField::properties,
                                {{hostField::interactive, host->interactive},
                                 {hostField::delayCompute, host->delayCompute}}},
                               {hostField::commands, host->commands}};
        if (host->documentFields) {
            hostState[hostField::displayAlerts] = host->displayAlerts;
        }
        writer.write(field::host, hostState);
        writer.write(field::selection, host->selection);
        writer.writeArray(field::lineStyles, host->lineStyles, appendLineStyle);
        writer.writeArray(field::members, host->partMembers, appendMember);
        if (host->documentFields) {
            writer.writeArray(field::documents, host->documents, appendDocument);
        }
    }
    if (window && window->cli) {
        writer.write(field::cli, cliJson(*window->cli));
    } else if (window) {
        writer.write(field::window, windowJson(window->window));
    }
    writer.writeEvents(events);
    writer.finish();
}

}  // namespace

void writeResultFile(std::ostream& out, const Outcome& outcome, const EventLog& events) {
    writeParts(out, &outcome, &outcome, std::nullopt, events);
}

void writeResultFile(std::ostream& out, const Outcome& outcome) {
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

}  // namespace tav::result

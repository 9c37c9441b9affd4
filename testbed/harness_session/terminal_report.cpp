#include "testbed/harness_session/terminal_report.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <type_traits>

#include "app/recording_window.h"
#include "testbed/harness_session/terminal_text.h"

namespace tav::session {
namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// Display width of UTF-8 text, counting code points.
std::size_t widthOf(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, std::size_t width) {
    const std::size_t w = widthOf(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

struct Components {
    int red;
    int green;
    int blue;
};

Components componentsOf(std::int32_t color) {
    return {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
}

std::string rgbText(std::int32_t color) {
    const Components c = componentsOf(color);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", c.red, c.green, c.blue);
    return buffer;
}

// A phase of the part line: its text without progress dots or counters.
std::string phaseOf(const std::string& status) {
    if (status.starts_with("Processing Part ")) {
        return "Processing Part";
    }
    return status.substr(0, status.find_last_not_of('.') + 1);
}

std::string endSentence(app::ProgramEnd end) {
    switch (end) {
        case app::ProgramEnd::refused:
            return "start-up refused, then the tool shut down";
        case app::ProgramEnd::finished:
            return "the tool shut down normally";
        case app::ProgramEnd::fatal:
            return "an error ended the run";
        case app::ProgramEnd::closed:
            return "the window was closed from its frame";
        case app::ProgramEnd::running:
            break;
    }
    return "the window is still open";
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

// A value from an event, as text safe to print.
std::string plain(const nlohmann::json& value) {
    return printable(value.is_string() ? value.get<std::string>() : value.dump());
}

// The host changes worth a line of their own as they happen; the others
// appear in the summary.
std::string hostEventLine(const result::HostEvent& event) {
    namespace dispatch = host::dispatch;
    const auto& payload = event.payload;
    const std::string failed = event.ok ? "" : "  ✘ refused by Solid Edge";
    if (event.object == "host") {
        if (event.member == dispatch::application::interactive) {
            return "Solid Edge interactive " + onOff(payload.get<bool>()) + failed;
        }
        if (event.member == dispatch::application::delayCompute) {
            return "Solid Edge delay compute " + onOff(payload.get<bool>()) + failed;
        }
        return "Solid Edge command " + plain(payload.at(0)) + failed;
    }
    if (event.object == "selectSet") {
        if (event.member == dispatch::selectSet::add) {
            return "selected " + plain(payload.at(0)) + failed;
        }
        if (event.member == dispatch::selectSet::remove) {
            return "took item " + plain(payload.at(0)) + " out of the selection" + failed;
        }
        return "emptied the selection" + failed;
    }
    if (event.ok) {
        return "";
    }
    if (event.object == "lineStyles") {
        return "could not create line style " + plain(payload.at(0)) + " from \"" +
               plain(payload.at(1)) + "\"";
    }
    return printable(event.object) + ": could not set " + std::to_string(event.member) + " to " +
           plain(payload);
}

}  // namespace

TerminalReport::TerminalReport(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

void TerminalReport::onEvent(const result::Event& event) {
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        onUiEvent(*ui);
    } else {
        onHostEvent(std::get<result::HostEvent>(event));
    }
}

void TerminalReport::onUiEvent(const app::UiEvent& event) {
    std::visit(
        [this](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, app::CaptionChanged>) {
                if (e.control == app::controlName(engine::StatusLine::part)) {
                    setStatus(printable(e.text));
                    return;
                }
                endStatus();
                out_ << "» " << printable(e.text) << '\n';
            } else if constexpr (std::is_same_v<T, app::MessageShown>) {
                endStatus();
                box(printable(e.title), printable(e.text));
            } else if constexpr (std::is_same_v<T, app::AboutShown>) {
                endStatus();
                box(printable(e.title), printable(e.version));
            }
            // The progress bar and repaints show through the part line.
        },
        event);
}

void TerminalReport::onHostEvent(const result::HostEvent& event) {
    if (event.ok && event.object == "lineStyles") {
        ++stylesCreated_;
    }
    const std::string line = hostEventLine(event);
    if (!line.empty()) {
        printLine("    " + line);
    }
}

void TerminalReport::setStatus(const std::string& text) {
    if (!status_.empty() && phaseOf(status_) != phaseOf(text)) {
        endStatus();
    }
    status_ = text;
    if (terminal_) {
        out_ << "\r\033[K    " << status_ << std::flush;
    }
}

void TerminalReport::endStatus() {
    if (!status_.empty()) {
        out_ << (terminal_ ? "" : "    " + status_) << '\n';
        status_.clear();
    }
    if (stylesCreated_ > 0) {
        out_ << "    + " << stylesCreated_ << " new line style" << (stylesCreated_ == 1 ? "" : "s")
             << '\n';
        stylesCreated_ = 0;
    }
}

void TerminalReport::printLine(const std::string& line) {
    if (terminal_ && !status_.empty()) {
        out_ << "\r\033[K" << line << "\n    " << status_ << std::flush;
        return;
    }
    endStatus();
    out_ << line << '\n';
}

void TerminalReport::box(const std::string& title, const std::string& text) {
    const std::size_t inner = std::max(widthOf(text), widthOf(title) + 8) + 2;
    out_ << "  ┌─ " << title << ' ' << repeated("─", inner - widthOf(title) - 3) << "┐\n"
         << "  │ " << padded(text, inner - 2) << " │\n"
         << "  └" << repeated("─", inner - 6) << " [OK] ┘\n";
}

std::string TerminalReport::swatch(std::int32_t color) const {
    if (!terminal_) {
        return "";
    }
    char buffer[48];
    const Components c = componentsOf(color);
    std::snprintf(buffer, sizeof buffer, "\033[48;2;%d;%d;%dm  \033[0m ", c.red, c.green, c.blue);
    return buffer;
}

void TerminalReport::summary(const SessionOutcome& outcome) {
    endStatus();
    out_ << "\n"
         << endSentence(outcome.end) << " · " << outcome.hostCalls << " host calls · "
         << outcome.heldReferences << " references still held\n";
    out_ << "Solid Edge: interactive " << onOff(outcome.interactive) << ", delay compute "
         << onOff(outcome.delayCompute) << "; selection: ";
    if (outcome.selection.empty()) {
        out_ << "empty";
    }
    for (std::size_t i = 0; i < outcome.selection.size(); ++i) {
        out_ << (i ? ", " : "") << printable(outcome.selection[i]);
    }
    out_ << '\n';

    std::vector<const result::LineStyleState*> created;
    for (const result::LineStyleState& style : outcome.lineStyles) {
        if (style.templateName) {
            created.push_back(&style);
        }
    }
    if (!created.empty()) {
        out_ << "\nLine styles created (" << created.size() << ")\n";
        for (const result::LineStyleState* style : created) {
            out_ << "  " << swatch(style->color) << padded(printable(style->name), 20)
                 << rgbText(style->color) << "  from " << printable(*style->templateName) << '\n';
        }
    }

    if (outcome.partMembers.empty()) {
        return;
    }
    std::map<std::string, const result::PartMemberState*> before;
    for (const result::PartMemberState& member : outcome.partMembersBefore) {
        before[member.id] = &member;
    }
    // The members as printed: every text from the scene made printable
    // before it is measured for the columns.
    std::vector<result::PartMemberState> shown;
    std::size_t nameWidth = 0;
    std::size_t viewWidth = 0;
    for (const result::PartMemberState& member : outcome.partMembers) {
        shown.push_back({printable(member.view), member.id, printable(member.path),
                         printable(member.name), printable(member.visible),
                         printable(member.hidden), printable(member.tangent)});
        nameWidth = std::max(nameWidth, widthOf(shown.back().path) + widthOf(shown.back().name));
        viewWidth = std::max(viewWidth, widthOf(shown.back().view));
    }
    std::size_t changed = 0;
    std::string rows;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const result::PartMemberState& now = outcome.partMembers[i];
        const result::PartMemberState& member = shown[i];
        const auto found = before.find(now.id);
        const bool same = found != before.end() && found->second->visible == now.visible &&
                          found->second->hidden == now.hidden &&
                          found->second->tangent == now.tangent;
        changed += same ? 0 : 1;
        const std::string path = member.path.empty() ? "" : member.path.substr(1) + "/";
        rows += "  " + std::string(same ? "  " : "✔ ") + padded(member.view, viewWidth) + "  " +
                padded(path + member.name, nameWidth) + "  " + member.visible + " · " +
                member.hidden + " · " + member.tangent + "\n";
    }
    out_ << "\nPart members (" << outcome.partMembers.size() << ", " << changed
         << " changed ✔): view, part, visible · hidden · tangent edges\n"
         << rows;
}

}  // namespace tav::session

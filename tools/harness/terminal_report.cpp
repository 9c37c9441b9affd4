#include "tools/harness/terminal_report.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <type_traits>

#include "host/utf.h"

namespace tav::harness {
namespace {

using host::toUtf8;

std::string rgbText(std::int32_t colour) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return buffer;
}

std::string padded(const std::string& text, std::size_t width) {
    // Widths count bytes; names here are mostly ASCII and a ragged column is harmless.
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string endSentence(app::ProgramEnd end) {
    switch (end) {
        case app::ProgramEnd::refused:
            return "start-up refused; the tool shut down";
        case app::ProgramEnd::myEnd:
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

std::string hostEventText(const sim::HostEvent& event) {
    const std::string failed = event.ok ? "" : "  (failed)";
    const auto& payload = event.payload;
    if (event.object == "host") {
        if (event.member == host::dispatch::application::interactive) {
            return std::string("Solid Edge interactive: ") + (payload.get<bool>() ? "on" : "off") +
                   failed;
        }
        if (event.member == host::dispatch::application::delayCompute) {
            return std::string("Solid Edge delay compute: ") +
                   (payload.get<bool>() ? "on" : "off") + failed;
        }
        return "Solid Edge command " + payload.dump() + failed;
    }
    if (event.object == "selectSet") {
        switch (event.member) {
            case host::dispatch::selectSet::add:
                return "selected " + payload.at(0).get<std::string>() + failed;
            case host::dispatch::selectSet::remove:
                return "removed selection item " + payload.at(0).dump() + failed;
            default:
                return "selection emptied" + failed;
        }
    }
    if (event.object == "lineStyles") {
        return "new line style " + payload.at(0).get<std::string>() + " from " +
               payload.at(1).get<std::string>() + failed;
    }
    return "";  // colour puts and member puts appear in the summary
}

}  // namespace

TerminalReport::TerminalReport(std::ostream& out, bool interactive)
    : out_(out), interactive_(interactive) {}

void TerminalReport::onEvent(const Event& event) {
    if (const auto* ui = std::get_if<app::UiEvent>(&event)) {
        onUiEvent(*ui);
    } else {
        onHostEvent(std::get<sim::HostEvent>(event));
    }
}

void TerminalReport::onUiEvent(const app::UiEvent& event) {
    std::visit(
        [this](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, app::CaptionChanged>) {
                if (e.control == "lblPieza") {
                    showStatus(e.text);
                } else {
                    finishStatus();
                    out_ << "» " << toUtf8(e.text) << '\n';
                }
            } else if constexpr (std::is_same_v<T, app::MessageShown>) {
                finishStatus();
                box(toUtf8(e.title), {toUtf8(e.text)});
            } else if constexpr (std::is_same_v<T, app::AboutShown>) {
                finishStatus();
                box(toUtf8(e.title), {toUtf8(e.version)});
            }
            // Progress bar values and repaints show through the lower label.
        },
        event);
}

void TerminalReport::onHostEvent(const sim::HostEvent& event) {
    std::string text = hostEventText(event);
    bool failedPut = !event.ok && text.empty();
    if (failedPut) {
        text = event.object + " refused dispatch " + std::to_string(event.member) + " = " +
               event.payload.dump();
    }
    if (text.empty()) {
        return;
    }
    finishStatus();
    out_ << "    " << text << '\n';
}

void TerminalReport::showStatus(const std::u16string& text) {
    status_ = toUtf8(text);
    if (interactive_) {
        out_ << "\r\033[K    " << status_ << std::flush;
        statusShown_ = true;
    }
}

void TerminalReport::finishStatus() {
    if (status_.empty()) {
        return;
    }
    if (interactive_) {
        out_ << '\n';
    } else {
        out_ << "    " << status_ << '\n';
    }
    status_.clear();
    statusShown_ = false;
}

void TerminalReport::box(const std::string& title, const std::vector<std::string>& lines) {
    std::size_t width = title.size() + 4;
    for (const std::string& line : lines) {
        width = std::max(width, line.size() + 2);
    }
    out_ << "  ┌─ " << title << ' ' << std::string(width - title.size() - 2, '-') << '\n';
    for (const std::string& line : lines) {
        out_ << "  │ " << line << '\n';
    }
    out_ << "  └" << std::string(width - 4, '-') << " [ OK ]\n";
}

std::string TerminalReport::swatch(std::int32_t colour) const {
    if (!interactive_ || colour < 0) {
        return "";
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "\033[48;2;%d;%d;%dm  \033[0m ", colour & 0xFF,
                  (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buffer;
}

void TerminalReport::summary(const SessionOutcome& outcome) {
    finishStatus();
    out_ << '\n'
         << "Result: " << endSentence(outcome.end) << " · " << outcome.hostCalls << " host calls · "
         << outcome.heldReferences << " references still held\n";
    out_ << "Solid Edge: interactive " << (outcome.interactive ? "on" : "off") << ", delay compute "
         << (outcome.delayCompute ? "on" : "off") << '\n';
    out_ << "Selection: ";
    if (outcome.selection.empty()) {
        out_ << "(empty)";
    }
    for (std::size_t i = 0; i < outcome.selection.size(); ++i) {
        out_ << (i ? ", " : "") << outcome.selection[i];
    }
    out_ << '\n';

    std::vector<const sim::LineStyleState*> created;
    for (const sim::LineStyleState& style : outcome.lineStyles) {
        if (style.templateName) {
            created.push_back(&style);
        }
    }
    out_ << "\nLine styles created: " << created.size() << '\n';
    for (const sim::LineStyleState* style : created) {
        out_ << "  " << swatch(style->color) << padded(style->name, 20) << ' '
             << rgbText(style->color) << "  from " << *style->templateName << '\n';
    }

    std::map<std::string, const sim::PartMemberState*> before;
    for (const sim::PartMemberState& member : outcome.partMembersBefore) {
        before[member.id] = &member;
    }
    std::size_t changed = 0;
    std::size_t nameWidth = 4;
    for (const sim::PartMemberState& member : outcome.partMembers) {
        nameWidth = std::max(nameWidth, member.path.size() + member.name.size() + 1);
    }
    out_ << "\nPart members: " << outcome.partMembers.size() << '\n';
    for (const sim::PartMemberState& member : outcome.partMembers) {
        const auto found = before.find(member.id);
        const bool same = found != before.end() && found->second->visible == member.visible &&
                          found->second->hidden == member.hidden &&
                          found->second->tangent == member.tangent;
        changed += same ? 0 : 1;
        out_ << "  " << (same ? "  " : "✔ ") << padded(member.view, 4) << ' '
             << padded(member.path + "/" + member.name, nameWidth) << "  " << member.visible
             << " · " << member.hidden << " · " << member.tangent << '\n';
    }
    out_ << "  (" << changed << " changed, ✔ marks them)\n";
}

}  // namespace tav::harness

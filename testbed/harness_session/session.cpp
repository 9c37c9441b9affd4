#include "testbed/harness_session/session.h"

#include <stdexcept>

#include "app/recording_window.h"

namespace tav::session {

std::vector<Action> parseActions(std::string_view text) {
    std::vector<Action> actions;
    if (text.empty()) {
        return actions;  // start-up only: the window stays open
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string_view word = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (word == "process") {
            actions.push_back(Action::process);
        } else if (word == "exit") {
            actions.push_back(Action::exit);
        } else if (word == "help") {
            actions.push_back(Action::help);
        } else if (word == "close") {
            actions.push_back(Action::close);
        } else {
            throw std::invalid_argument("unknown action '" + std::string(word) +
                                        "' (use process, exit, help or close)");
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return actions;
}

std::vector<std::string> createdStyles(const SessionOutcome& outcome) {
    std::vector<std::string> names;
    for (const result::LineStyleState& style : outcome.lineStyles) {
        if (style.templateName) {
            names.push_back(style.name);
        }
    }
    return names;
}

app::ProgramEnd playActions(app::Form1& form, const std::vector<Action>& actions) {
    if (form.Form_Load()) {
        for (Action action : actions) {
            if (form.ended()) {
                break;  // actions after the end of the program are ignored
            }
            switch (action) {
                case Action::process:
                    form.cmdAccept_Click();
                    break;
                case Action::exit:
                    form.cmdCancel_Click();
                    break;
                case Action::help:
                    form.cmdHelp_Click();
                    break;
                case Action::close:
                    static_cast<void>(form.closeFromFrame());
                    break;
            }
        }
    }
    return form.programEnd();
}

SessionOutcome runSession(sim::Scene scene, const std::vector<Action>& actions,
                          const EventSink& live, SessionOptions options) {
    SessionOutcome outcome;
    auto record = [&](result::Event event) {
        if (live) {
            live(event);
        }
        if (options.events == EventRetention::keep) {
            outcome.events.push_back(std::move(event));
        }
    };
    sim::SimHost host(std::move(scene), [&](const result::HostEvent& event) { record(event); });
    app::RecordingWindow window([&](const app::UiEvent& event) { record(event); });
    const sim::SimInspector& inspector = host.inspector();
    if (options.membersBefore) {
        outcome.partMembersBefore = inspector.partMembers();
    }
    {
        app::RecordedExit exit;
        app::Form1 form(host.connector(), window, exit);
        outcome.end = playActions(form, actions);
        // Read while the tool still holds what it held when it ended.
        static_cast<result::HostOutcome&>(outcome) = result::hostOutcomeOf(inspector);
    }
    outcome.window = window.shown();
    return outcome;
}

}  // namespace tav::session

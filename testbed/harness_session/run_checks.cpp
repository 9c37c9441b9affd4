#include "testbed/harness_session/run_checks.h"

#include <cstddef>

#include "host/automation_ids.h"

namespace tav::session {
namespace {

namespace dispatch = host::dispatch;

const result::HostEvent* hostEventAt(const SessionOutcome& outcome, std::size_t i) {
    return std::get_if<result::HostEvent>(&outcome.events[i]);
}

bool isMessage(const result::Event& event) {
    const auto* ui = std::get_if<app::UiEvent>(&event);
    return ui != nullptr && std::holds_alternative<app::MessageShown>(*ui);
}

bool isPropertyPut(const result::HostEvent& event, host::DispId property) {
    return event.verb == result::HostEvent::Verb::put && event.object == "host" &&
           event.member == property;
}

bool isSelectSetCall(const result::HostEvent& event, host::DispId method) {
    return event.verb == result::HostEvent::Verb::call && event.object == "selectSet" &&
           event.member == method;
}

// The last event that satisfies `match`, from `from` on.
template <class Match>
std::optional<std::size_t> lastEvent(const SessionOutcome& outcome, Match match,
                                     std::size_t from = 0) {
    std::optional<std::size_t> found;
    for (std::size_t i = from; i < outcome.events.size(); ++i) {
        const result::HostEvent* event = hostEventAt(outcome, i);
        if (event != nullptr && match(*event)) {
            found = i;
        }
    }
    return found;
}

void checkEnd(const SessionOutcome& outcome, std::vector<std::string>& problems) {
    using app::ProgramEnd;
    if (outcome.end != ProgramEnd::refused && outcome.end != ProgramEnd::finished &&
        outcome.end != ProgramEnd::fatal) {
        problems.push_back(std::string("the run ended '") +
                           std::string(result::endName(outcome.end)) +
                           "', not refused, my_end or fatal");
    }
    if (outcome.end != ProgramEnd::running && outcome.heldReferences != 0) {
        problems.push_back("the tool still held " + std::to_string(outcome.heldReferences) +
                           " references when it ended");
    }
}

// The tool's last put of a property must give the host its normal value
// back, and the host must have it unless that very put failed. A run that
// never put it must not have reached the host at all.
void checkProperty(const SessionOutcome& outcome, host::DispId property, bool normal, bool actual,
                   std::vector<std::string>& problems) {
    const std::string name = "property " + std::to_string(property);
    const auto last =
        lastEvent(outcome, [&](const result::HostEvent& e) { return isPropertyPut(e, property); });
    if (!last) {
        if (outcome.end != app::ProgramEnd::refused) {
            problems.push_back("the tool never put " + name + " back");
        }
        return;
    }
    const result::HostEvent& put = *hostEventAt(outcome, *last);
    if (put.payload != normal) {
        problems.push_back("the tool's last put of " + name + " was " + put.payload.dump());
    } else if (put.ok && actual != normal) {
        problems.push_back(name + " ended " + (actual ? "True" : "False"));
    }
}

void checkNoCommandAfterFatalError(const SessionOutcome& outcome,
                                   std::vector<std::string>& problems) {
    if (outcome.end != app::ProgramEnd::fatal) {
        return;
    }
    std::optional<std::size_t> message;
    for (std::size_t i = 0; i < outcome.events.size(); ++i) {
        if (isMessage(outcome.events[i])) {
            message = i;
        }
    }
    if (!message) {
        problems.push_back("a fatal end without an error message");
        return;
    }
    const auto command = lastEvent(
        outcome,
        [](const result::HostEvent& e) {
            return e.verb == result::HostEvent::Verb::call && e.object == "host" &&
                   e.member == dispatch::application::startCommand;
        },
        *message);
    if (command) {
        problems.push_back("command 79 was called after the fatal error");
    }
}

// A selection the tool made itself (it added to the select set) is emptied
// at the end, unless emptying it failed: its clearing call failed, or the
// injected call was the fetch of the select set right before the host was
// given back (interactive put back to True by the next call).
void checkOwnSelectionEmptied(const SessionOutcome& outcome, const InjectedFault& fault,
                              std::vector<std::string>& problems) {
    const auto lastAdd = lastEvent(outcome, [](const result::HostEvent& e) {
        return isSelectSetCall(e, dispatch::selectSet::add);
    });
    if (!lastAdd || outcome.selection.empty()) {
        return;
    }
    const auto clear = lastEvent(
        outcome,
        [](const result::HostEvent& e) { return isSelectSetCall(e, dispatch::selectSet::clear); },
        *lastAdd);
    if (clear && !hostEventAt(outcome, *clear)->ok) {
        return;
    }
    if (!clear && fault.failCall) {
        for (std::size_t i = *lastAdd; i < outcome.events.size(); ++i) {
            const result::HostEvent* event = hostEventAt(outcome, i);
            if (event != nullptr && isPropertyPut(*event, dispatch::application::interactive) &&
                event->payload == true) {
                if (event->call == *fault.failCall + 1) {
                    return;
                }
                break;
            }
        }
    }
    std::string items;
    for (const std::string& item : outcome.selection) {
        items += (items.empty() ? "" : ", ") + item;
    }
    problems.push_back("the selection the tool made was not emptied: " + items);
}

void checkAtMostOneMessage(const SessionOutcome& outcome, std::vector<std::string>& problems) {
    std::size_t messages = 0;
    for (const result::Event& event : outcome.events) {
        messages += isMessage(event) ? 1 : 0;
    }
    if (messages > 1) {
        problems.push_back(std::to_string(messages) + " message boxes in one run");
    }
}

}  // namespace

std::vector<std::string> checkRun(const SessionOutcome& outcome, const InjectedFault& fault) {
    std::vector<std::string> problems;
    checkEnd(outcome, problems);
    checkProperty(outcome, dispatch::application::interactive, true, outcome.interactive, problems);
    checkProperty(outcome, dispatch::application::delayCompute, false, outcome.delayCompute,
                  problems);
    checkNoCommandAfterFatalError(outcome, problems);
    checkOwnSelectionEmptied(outcome, fault, problems);
    checkAtMostOneMessage(outcome, problems);
    return problems;
}

}  // namespace tav::session

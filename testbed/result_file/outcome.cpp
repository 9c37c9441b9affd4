#include "testbed/result_file/outcome.h"

#include "host/automation_ids.h"
#include "testbed/result_file/result_format.h"

namespace tav::result {

HostOutcome hostOutcomeOf(const sim::SimInspector& host, bool commandLineRun) {
    HostOutcome outcome;
    outcome.hostCalls = host.hostCalls();
    outcome.heldReferences = host.heldReferences();
    outcome.interactive = host.property(host::dispatch::application::interactive);
    outcome.delayCompute = host.property(host::dispatch::application::delayCompute);
    outcome.commands = host.commands();
    outcome.selection = host.selection();
    outcome.lineStyles = host.lineStyles();
    outcome.partMembers = host.partMembers();
    outcome.documentFields = commandLineRun || host.describesDocuments();
    if (outcome.documentFields) {
        outcome.displayAlerts = host.displayAlerts();
        outcome.documents = host.documents();
    }
    return outcome;
}

std::string_view endName(app::ProgramEnd end) {
    switch (end) {
        case app::ProgramEnd::refused:
            return programEnd::refused;
        case app::ProgramEnd::finished:
            return programEnd::myEnd;
        case app::ProgramEnd::fatal:
            return programEnd::fatal;
        case app::ProgramEnd::closed:
            return programEnd::closed;
        case app::ProgramEnd::running:
            break;
    }
    return programEnd::open;
}

std::string_view endName(const WindowOutcome& window) {
    return window.cli ? programEnd::cli : endName(window.end);
}

}  // namespace tav::result

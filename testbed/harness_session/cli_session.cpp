#include "testbed/harness_session/cli_session.h"

#include <iostream>

#include "app/cli/cli_program.h"
#include "app/cli/csv.h"
#include "app/cli/interrupt_gate.h"
#include "app/cli/windows_path.h"
#include "host/sim/sim_host.h"
#include "platform/utf.h"
#include "testbed/harness_session/terminal_text.h"

namespace tav::session {
namespace {

// The lines of a file the tool wrote, CRLF or LF after each.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

CapturedConsole::CapturedConsole(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)) {}

std::u16string CapturedConsole::programFolder() {
    return cli::windowsPathOf(programFolder_);
}

std::u16string CapturedConsole::workingFolder() {
    return cli::windowsPathOf(std::filesystem::current_path());
}

void CapturedConsole::printLine(std::u16string_view line) {
    lines_.push_back(platform::toUtf8(line));
}

void CapturedConsole::printError(std::u16string_view line) {
    std::cerr << printable(platform::toUtf8(line)) << '\n';
}

result::CliOutcome cliOutcomeOf(CapturedConsole& console, int exitCode,
                                const std::optional<std::u16string>& reportPath) {
    result::CliOutcome outcome;
    outcome.exitCode = exitCode;
    outcome.stdoutLines = console.lines();
    const std::u16string errorMessagesPath =
        cli::pathInFolder(console.programFolder(), cli::errorMessagesFileName);
    if (std::optional<std::string> text = console.files().readWhole(errorMessagesPath)) {
        outcome.errorMessages = linesOf(*text);
    }
    if (reportPath) {
        if (std::optional<std::string> text = console.files().readWhole(*reportPath)) {
            outcome.report = cli::readCsvFileText(*text);
        }
    }
    return outcome;
}

result::Outcome runCliSession(sim::Scene scene, const CliSessionOptions& options,
                              const EventSink& live, EventRetention events) {
    result::Outcome outcome;
    auto record = [&](result::Event event) {
        if (live) {
            live(event);
        }
        if (events == EventRetention::keep) {
            outcome.events.push_back(std::move(event));
        }
    };
    sim::SimHost host(std::move(scene), [&](const result::HostEvent& event) { record(event); });
    CapturedConsole console(options.programFolder);
    cli::InterruptGate gate;
    if (options.interruptAtCall) {
        gate.requestBeforeCall(*options.interruptAtCall);
    }
    const cli::CliRunOutput run =
        cli::runCommandLine(console, host.connector(), gate, options.arguments);
    static_cast<result::HostOutcome&>(outcome) =
        result::hostOutcomeOf(host.inspector(), /*commandLineRun=*/true);
    outcome.cli = cliOutcomeOf(console, run.exitCode, run.reportPath);
    return outcome;
}

}  // namespace tav::session

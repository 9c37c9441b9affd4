// tavrelmondix-sim SCENE.json [--press ACTIONS] [--result OUT.json] [--quiet]
// tavrelmondix-sim SCENE.json --cli [--result OUT.json] [--program-dir DIR] [--quiet] [-- ARGS...]
//
// Runs the tool against the simulated Solid Edge described by a scene, as a
// user would; with --cli, the command-line tool with ARGS. Exit status: 0 when the tool ran
// (whatever it decided), 2 for a usage error, a refused scene or a result file that cannot be
// written, 1 for an internal error.
//
// The result file is written whole or not at all; a run that ends without
// writing one removes the result an earlier run left at that path. Every line
// printed is made printable first: scene text and refusals may hold anything.
#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "host/sim/scene_loader.h"
#include "result/atomic_file.h"
#include "result/result_writer.h"
#include "session/session.h"
#include "session/terminal_report.h"
#include "session/terminal_text.h"
#include "tools/harness/command_line_run.h"

#ifdef _WIN32
#include "tools/harness/com_session.h"
#endif

#ifdef _WIN32
#include <io.h>
#define TAV_ISATTY _isatty
#define TAV_FILENO _fileno
#else
#include <unistd.h>
#define TAV_ISATTY isatty
#define TAV_FILENO fileno
#endif

namespace {

constexpr int usageError = 2;
constexpr int internalError = 1;

bool stdoutIsTerminal() {
    return TAV_ISATTY(TAV_FILENO(stdout)) != 0;
}

void printError(const std::string& line) {
    std::cerr << tav::session::printable(line) << '\n';
}

// The run ends without a result: no earlier one may stand in its place.
int endWithoutResult(const std::string& resultPath, int status) {
    if (resultPath.empty()) {
        return status;
    }
    try {
        tav::result::removeIfPresent(resultPath);
    } catch (const tav::result::FileWriteError& error) {
        printError(std::string("tavrelmondix-sim: ") + error.what());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Everything after "--" is the command-line tool's, options included.
    std::vector<std::string> toolArguments;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--") {
            toolArguments.assign(argv + i + 1, argv + argc);
            argc = i;
            break;
        }
    }
    CLI::App cli{"Runs Tavrelmondix against the simulated Solid Edge described by a scene file.",
                 "tavrelmondix-sim"};
    // Options are --long only, on every system: a Windows build would otherwise
    // read a path such as /work/a.scene.json (Wine's view of a Linux file) as
    // an option.
    cli.allow_windows_style_options(false);
    std::string scenePath;
    std::string press = "process";
    std::string resultPath;
    bool quiet = false;
    cli.add_option("SCENE", scenePath, "Scene file (tavrelmondix-scene/1)")->required();
    cli.add_option("--press", press,
                   "The user's actions, comma-separated: process, exit, help, close")
        ->capture_default_str();
    cli.add_option("--result", resultPath, "Write the result file here");
    cli.add_flag("--quiet", quiet, "Print nothing but errors");
    bool commandLine = false;
    cli.add_flag("--cli", commandLine,
                 "Run the command-line tool (its arguments after --) instead of the window");
    std::string programDir;
    cli.add_option("--program-dir", programDir,
                   "With --cli: the folder the tool takes as its own (default: a fresh empty one)");
    std::int32_t interruptAtCall = 0;
    cli.add_option("--interrupt-at-call", interruptAtCall,
                   "With --cli: tell the tool of an interrupt just before this host call")
        ->check(CLI::PositiveNumber);
    bool overCom = false;
#ifdef _WIN32
    std::int64_t busyBoundMs = 30000;
    cli.add_flag("--com", overCom,
                 "Serve the scene with sehost-sim.exe and run the tool over COM, as it runs "
                 "against Solid Edge");
    // For tests of a host busy past the bound, which should not wait 30 s.
    cli.add_option("--busy-bound-ms", busyBoundMs, "How long a busy host's call is retried")
        ->group("");
    // For the benchmark over COM.
    std::string roundTripsPath;
    cli.add_option("--round-trips", roundTripsPath,
                   "Write every round trip between the processes, by kind")
        ->group("");
    std::string typeLibraryReport;
    cli.add_option("--type-library", typeLibraryReport,
                   "With --com: the server serves the type library this report of "
                   "tavrelmondix-probe describes");
#endif
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return cli.exit(help);
    } catch (const CLI::ParseError& error) {
        cli.exit(error);
        return usageError;
    }

    if (!commandLine && (!programDir.empty() || interruptAtCall != 0 || !toolArguments.empty())) {
        printError(
            "tavrelmondix-sim: --program-dir, --interrupt-at-call and -- ARGS go with --cli");
        return endWithoutResult(resultPath, usageError);
    }

    std::vector<tav::session::Action> actions;
    try {
        actions = tav::session::parseActions(press);
    } catch (const std::invalid_argument& error) {
        printError(std::string("tavrelmondix-sim: --press: ") + error.what());
        return endWithoutResult(resultPath, usageError);
    }

    tav::sim::Scene scene;
    try {
        scene = tav::sim::loadScene(scenePath);
    } catch (const tav::sim::SceneError& error) {
        printError(error.what());
        return endWithoutResult(resultPath, usageError);
    }

    if (commandLine) {
        tav::harness::CommandLineRun run{.scenePath = scenePath,
                                         .resultPath = resultPath,
                                         .programDir = programDir,
                                         .interruptAtCall = interruptAtCall,
                                         .arguments = toolArguments,
                                         .quiet = quiet,
                                         .overCom = overCom};
#ifdef _WIN32
        run.busyBoundMs = busyBoundMs;
        run.roundTrips = roundTripsPath;
        run.typeLibraryReport = typeLibraryReport;
#endif
        const int status = tav::harness::runCommandLineTool(std::move(scene), run);
        return status == 0 ? 0 : endWithoutResult(resultPath, status);
    }

    tav::session::TerminalReport report(std::cout, stdoutIsTerminal());
    if (!quiet) {
        std::cout << "Tavrelmondix on " << tav::session::printable(scenePath) << "\n\n";
    }
    // Events go to the report and to the result file as they happen; the
    // session keeps none of them.
    tav::result::EventLog events;
    auto live = [&](const tav::result::Event& event) {
        if (!quiet) {
            report.onEvent(event);
        }
        // Over COM the events are logged once both sides are known.
        if (!resultPath.empty() && !overCom) {
            events.add(event);
        }
    };
    tav::session::SessionOutcome outcome;
    // Over COM: the host's part, when the server finished.
    const tav::result::HostOutcome* hostPart = &outcome;
    std::optional<std::int64_t> nameLookups;
    try {
        if (overCom) {
#ifdef _WIN32
            tav::harness::ComSessionOptions options;
            options.busy.bound = std::chrono::milliseconds(busyBoundMs);
            options.roundTrips = roundTripsPath;
            options.typeLibraryReport = typeLibraryReport;
            tav::harness::ComSessionOutcome overComOutcome = tav::harness::runComSession(
                scenePath, std::move(scene), actions, live, options, events);
            outcome = std::move(overComOutcome.toolSide);
            if (overComOutcome.nameLookups) {
                nameLookups = overComOutcome.nameLookups;
            } else {
                hostPart = nullptr;  // the server ended without finishing
            }
#endif
        } else {
            outcome = tav::session::runSession(
                std::move(scene), actions, live,
                {.events = tav::session::EventRetention::streamOnly, .membersBefore = !quiet});
        }
    } catch (const std::exception& error) {
        printError(std::string("tavrelmondix-sim: internal error: ") + error.what());
        return endWithoutResult(resultPath, internalError);
    }
    if (!quiet) {
        report.summary(outcome);
    }

    if (!resultPath.empty()) {
        try {
            tav::result::writeAtomically(resultPath, [&](std::ostream& out) {
                if (overCom) {
                    tav::result::writeResultFile(out, outcome, hostPart, nameLookups, events);
                } else {
                    tav::result::writeResultFile(out, outcome, events);
                }
            });
        } catch (const tav::result::FileWriteError& error) {
            printError(std::string("tavrelmondix-sim: ") + error.what());
            return endWithoutResult(resultPath, usageError);
        } catch (const std::exception& error) {
            // The events could not be read back from their temporary file.
            printError(std::string("tavrelmondix-sim: internal error: ") + error.what());
            return endWithoutResult(resultPath, internalError);
        }
    }
    return 0;
}

// tavrelmondix-sim SCENE.json [--press ACTIONS] [--result OUT.json] [--quiet]
// tavrelmondix-sim SCENE.json --cli [--result OUT.json] [--program-dir DIR] [--quiet] [-- ARGS...]
//
// Runs the tool against the simulated Solid Edge described by a scene, as a
// user would; with --cli, the command-line tool with ARGS; with --com (the
// Windows build), over COM against sehost-sim.exe serving the scene. One
// session runner does either (tools/harness/session_runner.h), so the run
// below is the same whichever it is. Exit status: 0 when the tool ran
// (whatever it decided), 2 for a usage error, a refused scene or a result file that cannot be
// written, 1 for an internal error.
//
// The result file is written whole or not at all; a run that ends without
// writing one removes the result an earlier run left at that path. Every line
// printed is made printable first: scene text and refusals may hold anything.
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/session.h"
#include "testbed/harness_session/terminal_report.h"
#include "testbed/harness_session/terminal_text.h"
#include "testbed/result_file/atomic_file.h"
#include "tools/harness/command_line_run.h"
#include "tools/harness/session_runner.h"

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
    tav::harness::CommandLineStart start;
    cli.add_option("--program-dir", start.programDir,
                   "With --cli: the folder the tool takes as its own (default: a fresh empty one)");
    cli.add_option("--interrupt-at-call", start.interruptAtCall,
                   "With --cli: tell the tool of an interrupt just before this host call")
        ->check(CLI::PositiveNumber);
    tav::harness::RunnerChoice choice;
    cli.add_flag("--com", choice.overCom,
                 "Serve the scene with sehost-sim.exe and run the tool over COM, as it runs "
                 "against Solid Edge (Windows)");
    // For tests of a host busy past the bound, which should not wait 30 s.
    cli.add_option("--busy-bound-ms", choice.busyBoundMs, "How long a busy host's call is retried")
        ->group("");
    // For the benchmark over COM.
    cli.add_option("--round-trips", choice.roundTrips,
                   "Write every round trip between the processes, by kind")
        ->group("");
    cli.add_option("--type-library", choice.typeLibraryReport,
                   "With --com: the server serves the type library this report of "
                   "tavrelmondix-probe describes");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return cli.exit(help);
    } catch (const CLI::ParseError& error) {
        cli.exit(error);
        return usageError;
    }

    start.arguments = std::move(toolArguments);
    if (!commandLine &&
        (!start.programDir.empty() || start.interruptAtCall != 0 || !start.arguments.empty())) {
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

    choice.scenePath = scenePath;
    choice.keepEvents = !resultPath.empty();
    std::unique_ptr<tav::harness::SessionRunner> runner;
    try {
        runner = tav::harness::makeSessionRunner(choice);
    } catch (const std::invalid_argument& error) {
        printError(std::string("tavrelmondix-sim: ") + error.what());
        return endWithoutResult(resultPath, usageError);
    }

    tav::session::TerminalReport report(std::cout, stdoutIsTerminal());
    auto show = [&](const tav::result::Event& event) {
        if (!quiet) {
            report.onEvent(event);
        }
    };
    tav::result::EventLog events;
    tav::harness::HarnessRun run;
    try {
        if (commandLine) {
            const tav::harness::ToolFolder folder(start.programDir);
            run = runner->runCommandLine(std::move(scene),
                                         tav::harness::cliSessionOptions(start, folder), events);
        } else {
            if (!quiet) {
                std::cout << "Tavrelmondix on " << tav::session::printable(scenePath) << "\n\n";
            }
            run = runner->runWindow(std::move(scene), actions, show, !quiet, events);
        }
    } catch (const std::exception& error) {
        printError(std::string("tavrelmondix-sim: internal error: ") + error.what());
        return endWithoutResult(resultPath, internalError);
    }
    if (!quiet) {
        if (commandLine) {
            tav::harness::printCommandLineRun(run.outcome);
        } else {
            report.summary(run.outcome);
        }
    }

    if (!resultPath.empty()) {
        try {
            tav::result::writeAtomically(resultPath, [&](std::ostream& out) {
                tav::harness::writeRunResult(out, run, events);
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

// tav-com-bench.exe [--drawings flat:100,...] [--calls N] [--batch N]
//                   [--work DIR] [--json OUT] [--smoke]
// tav-com-bench.exe --cli-batch 20x3x100 [--work DIR]
//
// What a host call over COM costs, against what a bare round trip between
// the processes costs, measured side by side in one run: the load of a
// shared machine changes from minute to minute, so only figures of the same
// run are compared. First the bare round trip:
// sehost-sim.exe serves a small drawing and this program times Invokes that
// the server answers without calling the host. Then whole runs of the tool
// over COM on generated drawings (the harness, `tavrelmondix-sim.exe --com`,
// each in a process of its own), with every round trip the server counted
// by kind. Then the bare round trip again. Prints Markdown tables on
// standard output and its progress on standard error.
//
// With --cli-batch, the command-line tool on a batch of alike Drafts instead,
// against the window on each of their sheets (tools/bench-com/
// cli_batch_run.h).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include <CLI/CLI.hpp>

#include "host/error.h"
#include "testbed/scene_generators/scale_scenes.h"
#include "tools/bench-com/bare_round_trip.h"
#include "tools/bench-com/bench_report.h"
#include "tools/bench-com/cli_batch_run.h"
#include "tools/bench-com/drawing_run.h"
#include "tools/bench-com/machine.h"
#include "tools/bench-com/report_json.h"
#include "tools/bench-com/report_tables.h"

namespace {

namespace fs = std::filesystem;
using tav::benchcom::BenchReport;
using tav::benchcom::Drawing;
using tav::benchcom::drawingNamed;

constexpr int usageError = 2;
constexpr int failure = 1;

// One tiny drawing with each type library and a few bare calls: that the
// whole chain works, for CI.
const std::vector<std::string> smokeDrawings{"flat:20", "flat:20@solidEdge"};
constexpr int smokeCalls = 100;

// The bare round trip's server serves a flat drawing of a few parts: the
// calls never reach them.
constexpr int bareSceneParts = 4;

void progress(const std::string& line) {
    std::cerr << "tav-com-bench: " << line << std::endl;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", value);
    return text;
}

tav::benchcom::BareRoundTrip bare(const fs::path& folder, const char* when, int calls, int batch) {
    progress("the bare round trip " + std::string(when) + " the drawings, " +
             std::to_string(calls) + " calls");
    const fs::path scene = folder / "bare.scene.json";
    std::ofstream(scene, std::ios::binary)
        << tav::scenegen::scaleScene(tav::scenegen::ScaleFamily::flat, bareSceneParts).dump();
    return tav::benchcom::measureBareRoundTrip(
        scene, folder / ("bare-" + std::string(when) + ".round-trips.json"), calls, batch);
}

// A new folder of this process's own unless `work` names one to keep.
fs::path workFolder(const std::string& work) {
    return work.empty() ? fs::temp_directory_path() /
                              ("tav-com-bench-" + std::to_string(GetCurrentProcessId()))
                        : fs::absolute(work);
}

int runCliBatchOnly(const std::string& shapeName, const std::string& work) {
    const std::optional<tav::benchcom::BatchShape> shape =
        tav::benchcom::batchShapeNamed(shapeName);
    if (!shape) {
        std::cerr << "tav-com-bench: '" << shapeName
                  << "' is no batch: DRAFTSxSHEETSxPARTS, such as 20x3x100\n";
        return usageError;
    }
    const fs::path folder = workFolder(work);
    try {
        fs::create_directories(folder);
        const std::string machine = tav::benchcom::machineDescription();
        progress("the command-line tool over COM on " + shape->stem() +
                 ", then the window on each sheet");
        const tav::benchcom::CliBatchRun run = tav::benchcom::runCliBatch(*shape, folder);
        std::cout << "Machine: " << machine << "\n";
        tav::benchcom::printCliBatchTables(std::cout, run);
        bool endedWell = run.exitCode == 0;
        for (const tav::benchcom::WindowSheetRun& sheet : run.sheets) {
            endedWell = endedWell && sheet.end == "my_end";
        }
        if (!endedWell) {
            std::cerr << "tav-com-bench: the batch failed or a window run did not end through "
                         "my_end\n";
            return failure;
        }
    } catch (const std::exception& error) {
        std::cerr << "tav-com-bench: " << error.what() << '\n';
        return failure;
    }
    if (work.empty()) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"Host calls over COM against the bare round trip between the processes.",
                 "tav-com-bench"};
    // Paths such as /tmp/com-bench (Wine's view of a Linux folder) are not
    // options.
    cli.allow_windows_style_options(false);
    // Flat drawings growing fourfold, and the other kinds at the middle size;
    // the middle size again against a type library of Solid Edge's size.
    std::vector<std::string> drawingNames{
        "flat:100",       "flat:400",           "flat:1600",           "nested:400",
        "own-colors:400", "flat:400@solidEdge", "nested:400@solidEdge"};
    int calls = 2000;
    int batch = 100;
    std::string work;
    std::string jsonPath;
    bool smoke = false;
    std::string cliBatch;
    cli.add_option("--drawings", drawingNames,
                   "Drawings to run, FAMILY:PARTS[@LIBRARY] (flat, nested, own-colors, "
                   "several-views, second-run; small or solidEdge)")
        ->delimiter(',')
        ->capture_default_str();
    cli.add_option("--calls", calls, "Timed bare round trips, before and after the drawings")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str();
    cli.add_option("--batch", batch, "Calls per batch for the bare round trip's drift")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str();
    cli.add_option("--work", work, "Folder for the scenes, results and round trips (kept)");
    cli.add_option("--json", jsonPath, "Also write every figure to this JSON file");
    cli.add_flag("--smoke", smoke,
                 std::string("One tiny drawing (") + smokeDrawings.front() +
                     ", with each type library) and " + std::to_string(smokeCalls) +
                     " bare calls, unless given otherwise");
    cli.add_option("--cli-batch", cliBatch,
                   "Instead: the command-line tool on DRAFTSxSHEETSxPARTS (e.g. 20x3x100) "
                   "against the window on every sheet");
    CLI11_PARSE(cli, argc, argv);

    if (!cliBatch.empty()) {
        return runCliBatchOnly(cliBatch, work);
    }
    if (smoke && cli.count("--drawings") == 0) {
        drawingNames = smokeDrawings;
    }
    if (smoke && cli.count("--calls") == 0) {
        calls = smokeCalls;
    }
    std::vector<Drawing> drawings;
    for (const std::string& name : drawingNames) {
        const std::optional<Drawing> drawing = drawingNamed(name);
        if (!drawing) {
            std::cerr << "tav-com-bench: '" << name
                      << "' is no drawing: FAMILY:PARTS[@LIBRARY], with 1 to 32767 parts\n";
            return usageError;
        }
        drawings.push_back(*drawing);
    }

    const bool keepWork = !work.empty();
    const fs::path folder = workFolder(work);
    BenchReport report;
    bool allEndedWell = true;
    try {
        fs::create_directories(folder);
        report.machine = tav::benchcom::machineDescription();
        report.bareBefore = bare(folder, "before", calls, batch);
        for (const Drawing& drawing : drawings) {
            progress(drawing.stem() + " over COM");
            report.drawings.push_back(tav::benchcom::runDrawing(drawing, folder));
            const tav::benchcom::DrawingRun& run = report.drawings.back();
            progress(drawing.stem() + ": " + std::to_string(run.hostCalls) + " host calls in " +
                     seconds(run.wallSeconds) + ", ended " + run.end);
            allEndedWell = allEndedWell && run.end == "my_end";
        }
        report.bareAfter = bare(folder, "after", calls, batch);
    } catch (const tav::host::AutomationError& error) {
        std::cerr << "tav-com-bench: COM error " << error.number() << ": " << error.what() << '\n';
        return failure;
    } catch (const std::exception& error) {
        std::cerr << "tav-com-bench: " << error.what() << '\n';
        return failure;
    }

    tav::benchcom::printTables(std::cout, report);
    if (!jsonPath.empty()) {
        std::ofstream out(jsonPath, std::ios::binary);
        out << tav::benchcom::reportJson(report).dump(1) << '\n';
        if (!out.flush()) {
            std::cerr << "tav-com-bench: cannot write " << jsonPath << '\n';
            return failure;
        }
    }
    if (!allEndedWell) {
        std::cerr << "tav-com-bench: a drawing did not end through my_end\n";
        return failure;
    }
    if (!keepWork) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return 0;
}

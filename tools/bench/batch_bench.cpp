#include "tools/bench/batch_bench.h"

#include <algorithm>
#include <fstream>
#include <iostream>

#include "testbed/scene_generators/batch_scene.h"
#include "tools/bench/cli_batch_phases.h"
#include "tools/bench/measuring_process.h"
#include "tools/bench/report_text.h"

namespace tav::bench {
namespace {

namespace fs = std::filesystem;

struct BatchRow {
    int documents = 0;
    BatchFigures figures;
};

std::string seconds(const PhaseTime& time) {
    return fixed(time.wallSeconds, 3) + " (" + fixed(time.cpuSeconds, 3) + ")";
}

// Runs the batch `repeat` times, each in a process of its own; the run with
// the median CPU time stands for all.
BatchFigures measure(const fs::path& scene, int documents, const fs::path& programFolder,
                     int repeat) {
    std::vector<BatchFigures> runs;
    for (int i = 0; i < repeat; ++i) {
        fs::remove_all(programFolder);
        fs::create_directories(programFolder);
        runs.push_back(batchFiguresFromLine(
            runThisProgram({"--measure-batch", scene.string(), std::to_string(documents),
                            programFolder.string()})));
    }
    std::sort(runs.begin(), runs.end(), [](const BatchFigures& a, const BatchFigures& b) {
        return a.tool.cpuSeconds < b.tool.cpuSeconds;
    });
    return runs[runs.size() / 2];
}

void printRows(const BatchBenchOptions& options, const std::vector<BatchRow>& rows) {
    std::cout << "| documents | sheets | parts per sheet | load s | host built s | tool s | peak "
                 "MiB | host alone MiB | host calls | per document |\n"
                 "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const BatchRow& row : rows) {
        const BatchFigures& f = row.figures;
        std::cout << "| " << row.documents << " | " << options.sheetsPerDocument << " | "
                  << options.partsPerSheet << " | " << seconds(f.load) << " | "
                  << seconds(f.fixture) << " | " << seconds(f.tool) << " | "
                  << fixed(mib(f.peakKiB), 1) << " | " << fixed(mib(f.fixturePeakKiB), 1) << " | "
                  << f.hostCalls << " | "
                  << fixed(static_cast<double>(f.hostCalls) / row.documents, 1) << " |\n";
    }
}

void printGrowth(const std::vector<BatchRow>& rows) {
    const auto [smallest, largest] = std::minmax_element(
        rows.begin(), rows.end(),
        [](const BatchRow& a, const BatchRow& b) { return a.documents < b.documents; });
    const BatchFigures& a = smallest->figures;
    const BatchFigures& b = largest->figures;
    const std::int64_t runA = a.peakKiB - a.fixturePeakKiB;
    const std::int64_t runB = b.peakKiB - b.fixturePeakKiB;
    std::cout << "\nPeak memory, " << largest->documents << " documents against "
              << smallest->documents << ": " << fixed(mib(b.peakKiB - a.peakKiB), 1)
              << " MiB more (the host alone: " << fixed(mib(b.fixturePeakKiB - a.fixturePeakKiB), 1)
              << " MiB more; the tool's run above the host: " << fixed(mib(runA), 1) << " and "
              << fixed(mib(runB), 1) << " MiB).\n";
}

}  // namespace

int runBatchBenchmark(const BatchBenchOptions& options) {
    fs::create_directories(options.work);
    std::cout << "Machine: " << machine() << "; build: " << TAV_BUILD_TYPE << "\n"
              << "The command-line tool in process on a batch of Drafts on disk, no host event "
                 "kept. Seconds of wall time (CPU time in brackets), the median of "
              << options.repeat << " runs, each in a process of its own. Peak: the process's "
              << "peak resident memory once the tool has ended; host alone: the peak once the "
                 "scene is loaded and the simulated host built, before the tool starts.\n\n";
    std::vector<BatchRow> rows;
    for (int documents : options.documents) {
        const std::string stem = "batch-" + std::to_string(documents) + "x" +
                                 std::to_string(options.sheetsPerDocument) + "x" +
                                 std::to_string(options.partsPerSheet);
        const fs::path scene = options.work / (stem + ".scene.json");
        std::ofstream(scene) << scenegen::batchScene(documents, options.sheetsPerDocument,
                                                     options.partsPerSheet)
                                    .dump();
        BatchRow row{documents,
                     measure(scene, documents, options.work / (stem + "-program"), options.repeat)};
        if (row.figures.exitCode != 0 || row.figures.documentsSaved != documents) {
            std::cerr << "tav-scale-bench: the batch of " << documents << " documents ended with "
                      << row.figures.exitCode << ", " << row.figures.documentsSaved
                      << " documents saved and closed\n";
            return 1;
        }
        rows.push_back(row);
    }
    printRows(options, rows);
    if (rows.size() > 1) {
        printGrowth(rows);
    }
    return 0;
}

int measureOneBatch(const std::string& scene, int documents, const std::string& programFolder) {
    try {
        std::cout << toLine(
                         measureCliBatch(scene, scenegen::batchArguments(documents), programFolder))
                  << '\n';
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "tav-scale-bench: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace tav::bench

// tav-scale-bench [--sizes 2048,8192,32767] [--families flat,nested,...]
//                 [--repeat R] [--work DIR] [--pairing N]
// tav-scale-bench --batch-documents 100,1000 [--batch-sheets 3]
//                 [--batch-parts 10] [--repeat R] [--work DIR]
//
// The scale benchmark: for every kind of drawing (testbed/scene_generators/
// scale_scenes.h) and size, one harness run (load, run with Process, write
// the result file) in a process of its own, timed phase by phase; then the
// pairing pass against the nested scan it replaced. Prints Markdown tables:
// wall and CPU time per phase, peak memory, host calls per part and per
// member, and how each grows when the drawing grows fourfold.
//
// With --batch-documents, the command-line tool's batches instead
// (tools/bench/batch_bench.h).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <CLI/CLI.hpp>

#include "testbed/scene_generators/scale_scenes.h"
#include "tools/bench/batch_bench.h"
#include "tools/bench/harness_phases.h"
#include "tools/bench/measuring_process.h"
#include "tools/bench/pairing_race.h"
#include "tools/bench/report_text.h"

namespace {

namespace fs = std::filesystem;
using tav::bench::fixed;
using tav::bench::HarnessFigures;
using tav::bench::mib;
using tav::bench::PhaseTime;
using tav::scenegen::ScaleFamily;

struct Row {
    ScaleFamily family;
    int parts = 0;
    HarnessFigures figures;
};

std::string phase(const PhaseTime& time) {
    return fixed(time.wallSeconds, 3) + " (" + fixed(time.cpuSeconds, 3) + ")";
}

// Runs the drawing `repeat` times, each in a process of its own; the run with
// the median CPU time stands for all.
HarnessFigures measure(const fs::path& scene, const fs::path& result, int repeat) {
    std::vector<HarnessFigures> runs;
    for (int i = 0; i < repeat; ++i) {
        runs.push_back(tav::bench::fromLine(
            tav::bench::runThisProgram({"--measure-run", scene.string(), result.string()})));
    }
    std::sort(runs.begin(), runs.end(), [](const HarnessFigures& a, const HarnessFigures& b) {
        return a.total().cpuSeconds < b.total().cpuSeconds;
    });
    return runs[runs.size() / 2];
}

void printRows(const std::vector<Row>& rows) {
    std::cout << "| drawing | N | part members | load s | run s | result s | total s | "
                 "peak MiB | host calls | per part | per member |\n"
                 "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const Row& row : rows) {
        const HarnessFigures& f = row.figures;
        const double calls = static_cast<double>(f.hostCalls);
        std::cout << "| " << tav::scenegen::familyName(row.family) << " | " << row.parts << " | "
                  << f.partMembers << " | " << phase(f.load) << " | " << phase(f.run) << " | "
                  << phase(f.result) << " | " << phase(f.total()) << " | "
                  << fixed(mib(f.peakKiB), 1) << " | " << f.hostCalls << " | "
                  << fixed(calls / row.parts, 2) << " | "
                  << fixed(f.partMembers ? calls / static_cast<double>(f.partMembers) : 0.0, 2)
                  << " |\n";
    }
}

std::string ratio(double larger, double smaller) {
    return smaller > 0 ? fixed(larger / smaller, 2) : "-";
}

// How each drawing's figures grow from one size to the next.
void printGrowth(const std::vector<Row>& rows) {
    std::cout << "\n| drawing | N | CPU total | load | run | result | wall total | peak "
                 "memory | host calls |\n"
                 "|---|---|---:|---:|---:|---:|---:|---:|---:|\n";
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const Row& small = rows[i - 1];
        const Row& large = rows[i];
        if (small.family != large.family) {
            continue;
        }
        const HarnessFigures& a = small.figures;
        const HarnessFigures& b = large.figures;
        std::cout << "| " << tav::scenegen::familyName(large.family) << " | " << small.parts
                  << " → " << large.parts << " | "
                  << ratio(b.total().cpuSeconds, a.total().cpuSeconds) << " | "
                  << ratio(b.load.cpuSeconds, a.load.cpuSeconds) << " | "
                  << ratio(b.run.cpuSeconds, a.run.cpuSeconds) << " | "
                  << ratio(b.result.cpuSeconds, a.result.cpuSeconds) << " | "
                  << ratio(b.total().wallSeconds, a.total().wallSeconds) << " | "
                  << ratio(static_cast<double>(b.peakKiB), static_cast<double>(a.peakKiB)) << " | "
                  << ratio(static_cast<double>(b.hostCalls), static_cast<double>(a.hostCalls))
                  << " |\n";
    }
}

int measureOneRun(const std::string& scene, const std::string& result) {
    try {
        std::cout << tav::bench::toLine(tav::bench::measureHarnessRun(scene, result)) << '\n';
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "tav-scale-bench: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"The scale benchmark: harness runs on generated drawings, phase by phase.",
                 "tav-scale-bench"};
    std::vector<int> sizes{2048, 8192, 32767};
    std::vector<std::string> familyNames;
    for (ScaleFamily family : tav::scenegen::scaleFamilies()) {
        familyNames.emplace_back(tav::scenegen::familyName(family));
    }
    int repeat = 3;
    int pairingRecords = 32767;
    std::string work;
    std::vector<std::string> measureRun;
    tav::bench::BatchBenchOptions batch;
    std::vector<std::string> measureBatch;
    cli.add_option("--sizes", sizes, "Parts per drawing")->delimiter(',')->capture_default_str();
    cli.add_option("--families", familyNames, "Kinds of drawing")
        ->delimiter(',')
        ->capture_default_str();
    cli.add_option("--repeat", repeat, "Runs per drawing; the median counts")
        ->check(CLI::PositiveNumber)
        ->capture_default_str();
    cli.add_option("--pairing", pairingRecords, "Records for the pairing race (0: none)")
        ->check(CLI::Range(0, 32767))
        ->capture_default_str();
    cli.add_option("--work", work, "Folder for the scenes and result files (kept)");
    cli.add_option("--measure-run", measureRun, "(internal) measure one run: SCENE RESULT")
        ->expected(2);
    cli.add_option("--batch-documents", batch.documents,
                   "Run the command-line tool on batches of this many Drafts instead")
        ->delimiter(',')
        ->check(CLI::Range(1, 9999));
    cli.add_option("--batch-sheets", batch.sheetsPerDocument, "Working sheets per Draft")
        ->check(CLI::Range(1, 100))
        ->capture_default_str();
    cli.add_option("--batch-parts", batch.partsPerSheet, "Parts of the assembly each sheet shows")
        ->check(CLI::Range(1, 32767))
        ->capture_default_str();
    cli.add_option("--measure-batch", measureBatch,
                   "(internal) measure one batch: SCENE DOCUMENTS PROGRAM_FOLDER")
        ->expected(3);
    CLI11_PARSE(cli, argc, argv);

    if (!measureRun.empty()) {
        return measureOneRun(measureRun[0], measureRun[1]);
    }
    if (!measureBatch.empty()) {
        return tav::bench::measureOneBatch(measureBatch[0], std::stoi(measureBatch[1]),
                                           measureBatch[2]);
    }

    std::vector<ScaleFamily> families;
    for (const std::string& name : familyNames) {
        std::optional<ScaleFamily> family = tav::scenegen::familyNamed(name);
        if (!family) {
            std::cerr << "tav-scale-bench: unknown drawing '" << name << "'\n";
            return 2;
        }
        families.push_back(*family);
    }
    for (int size : sizes) {
        if (size < 1 || size > 32767) {
            std::cerr << "tav-scale-bench: sizes run from 1 to 32767 parts\n";
            return 2;
        }
    }
    const bool keepWork = !work.empty();
    fs::path folder =
        keepWork ? fs::path(work)
                 : fs::temp_directory_path() / ("tav-scale-bench-" + std::to_string(::getpid()));
    if (!batch.documents.empty()) {
        batch.repeat = repeat;
        batch.work = folder;
        int status = 1;
        try {
            status = tav::bench::runBatchBenchmark(batch);
        } catch (const std::exception& error) {
            std::cerr << "tav-scale-bench: " << error.what() << '\n';
        }
        if (!keepWork) {
            fs::remove_all(folder);
        }
        return status;
    }
    fs::create_directories(folder);

    std::cout << "Machine: " << tav::bench::machine() << "; build: " << TAV_BUILD_TYPE << "\n"
              << "Each figure: seconds of wall time (CPU time in brackets), the median of "
              << repeat << " runs, each in a process of its own.\n\n";
    std::vector<Row> rows;
    try {
        for (ScaleFamily family : families) {
            for (int size : sizes) {
                const std::string stem =
                    std::string(tav::scenegen::familyName(family)) + "-" + std::to_string(size);
                const fs::path scene = folder / (stem + ".scene.json");
                std::ofstream(scene) << tav::scenegen::scaleScene(family, size).dump();
                rows.push_back(
                    {family, size, measure(scene, folder / (stem + ".result.json"), repeat)});
                if (rows.back().figures.end != "my_end") {
                    std::cerr << "tav-scale-bench: " << stem << " ended " << rows.back().figures.end
                              << ", not through my_end\n";
                    return 1;
                }
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "tav-scale-bench: " << error.what() << '\n';
        return 1;
    }
    printRows(rows);
    printGrowth(rows);

    if (pairingRecords > 0) {
        const tav::bench::PairingRace race = tav::bench::racePairing(pairingRecords);
        std::cout << "\nPairing " << race.records << " members with " << race.records
                  << " parts: pairing pass " << fixed(race.pairingSeconds * 1000, 2)
                  << " ms, nested scan " << fixed(race.nestedScanSeconds * 1000, 1)
                  << " ms: " << fixed(race.nestedScanSeconds / race.pairingSeconds, 0)
                  << " times faster" << (race.sameResult ? ", same colours" : ", DIFFERENT COLOURS")
                  << ".\n";
        if (!race.sameResult) {
            return 1;
        }
    }
    if (!keepWork) {
        fs::remove_all(folder);
    }
    return 0;
}

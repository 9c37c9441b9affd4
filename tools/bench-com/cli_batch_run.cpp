#include "tools/bench-com/cli_batch_run.h"

#include <chrono>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "testbed/result_file/result_format.h"
#include "testbed/result_file/result_reader.h"
#include "testbed/scene_generators/batch_scene.h"
#include "tools/bench-com/drawing_run.h"

namespace tav::benchcom {
namespace {

namespace fs = std::filesystem;

void writeJson(const nlohmann::json& content, const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << content.dump();
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

ServerRoundTrips serverOf(const fs::path& roundTrips, const std::string& what) {
    const nlohmann::ordered_json trips = result::readJsonFile(roundTrips);
    if (!trips.contains("server") || trips["server"].is_null()) {
        throw std::runtime_error(what + ": the server wrote no round trips");
    }
    return serverRoundTripsFrom(trips["server"]);
}

std::wstring wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// Counts the batch's calls by name of `member` ("Open", "Save", "Close").
std::int64_t callsOf(const nlohmann::ordered_json& outcome, const std::string& member) {
    std::int64_t calls = 0;
    for (const auto& event : outcome.value("events", nlohmann::ordered_json::array())) {
        if (event.value("host", "") == "call" && event.contains("member") &&
            event["member"].is_string() && event["member"].get<std::string>() == member) {
            ++calls;
        }
    }
    return calls;
}

void runBatch(CliBatchRun& run, const fs::path& folder) {
    const BatchShape& shape = run.shape;
    const std::string stem = "batch-" + shape.stem();
    const fs::path scene = folder / (stem + ".scene.json");
    const fs::path resultFile = folder / (stem + ".result.json");
    const fs::path roundTrips = folder / (stem + ".round-trips.json");
    const fs::path programFolder = folder / (stem + "-program");
    writeJson(scenegen::batchScene(shape.documents, shape.sheetsPerDocument, shape.partsPerSheet),
              scene);
    fs::remove(roundTrips);
    fs::remove_all(programFolder);
    fs::create_directories(programFolder);

    std::vector<std::wstring> options{
        L"--cli",         L"--round-trips",        roundTrips.wstring(),
        L"--program-dir", programFolder.wstring(), L"--"};
    for (const std::string& path : scenegen::batchArguments(shape.documents)) {
        options.push_back(wide(path));
    }
    auto [seconds, outcome] = timeHarnessRun(scene, resultFile, options);
    run.wallSeconds = seconds;
    if (!outcome.contains("cli")) {
        throw std::runtime_error(resultFile.string() + " holds no cli");
    }
    run.hostCalls = outcome[result::field::hostCalls].get<std::int64_t>();
    run.exitCode = outcome["cli"].value("exitCode", -1);
    run.opens = callsOf(outcome, "Open");
    run.saves = callsOf(outcome, "Save");
    run.closes = callsOf(outcome, "Close");
    run.server = serverOf(roundTrips, stem);
}

WindowSheetRun runWindowOnSheet(const BatchShape& shape, int sheet, const fs::path& folder) {
    const std::string stem = "sheet-" + std::to_string(sheet) + "-of-" + shape.stem();
    const fs::path scene = folder / (stem + ".scene.json");
    const fs::path roundTrips = folder / (stem + ".round-trips.json");
    writeJson(scenegen::batchSheetScene(shape.sheetsPerDocument, shape.partsPerSheet, sheet),
              scene);
    fs::remove(roundTrips);
    const auto [seconds, outcome] = timeHarness(scene, L"process", folder / (stem + ".result.json"),
                                                {L"--round-trips", roundTrips.wstring()});
    WindowSheetRun run;
    run.sheet = sheet;
    run.wallSeconds = seconds;
    run.hostCalls = outcome[result::field::hostCalls].get<std::int64_t>();
    run.end = outcome[result::field::end].get<std::string>();
    run.server = serverOf(roundTrips, stem);
    return run;
}

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

}  // namespace

std::string BatchShape::stem() const {
    return std::to_string(documents) + "x" + std::to_string(sheetsPerDocument) + "x" +
           std::to_string(partsPerSheet);
}

std::optional<BatchShape> batchShapeNamed(const std::string& text) {
    std::istringstream in(text);
    BatchShape shape;
    char x1 = 0;
    char x2 = 0;
    if (!(in >> shape.documents >> x1 >> shape.sheetsPerDocument >> x2 >> shape.partsPerSheet) ||
        x1 != 'x' || x2 != 'x' || in.peek() != std::char_traits<char>::eof()) {
        return std::nullopt;
    }
    if (shape.documents < 1 || shape.documents > 9999 || shape.sheetsPerDocument < 1 ||
        shape.sheetsPerDocument > 100 || shape.partsPerSheet < 1 || shape.partsPerSheet > 32767) {
        return std::nullopt;
    }
    return shape;
}

std::int64_t CliBatchRun::batchRoundTripsCompared() const {
    return server.total - documentCallRoundTrips();
}

std::int64_t CliBatchRun::windowRoundTrips() const {
    std::int64_t total = 0;
    for (const WindowSheetRun& sheet : sheets) {
        total += sheet.server.total;
    }
    return total * shape.documents;
}

std::int64_t CliBatchRun::windowRoundTrips(const std::string& kind) const {
    std::int64_t total = 0;
    for (const WindowSheetRun& sheet : sheets) {
        total += sheet.server.count(kind);
    }
    return total * shape.documents;
}

CliBatchRun runCliBatch(const BatchShape& shape, const fs::path& folder) {
    CliBatchRun run;
    run.shape = shape;
    runBatch(run, folder);
    for (int sheet = 1; sheet <= shape.sheetsPerDocument; ++sheet) {
        run.sheets.push_back(runWindowOnSheet(shape, sheet, folder));
    }
    return run;
}

void printCliBatchTables(std::ostream& out, const CliBatchRun& run) {
    const BatchShape& shape = run.shape;
    const int windowRuns = shape.documents * shape.sheetsPerDocument;
    out << "\n| run | runs | host calls | round trips | Open/Save/Close | compared | wall s |\n"
           "|---|---:|---:|---:|---:|---:|---:|\n";
    out << "| command-line tool, " << shape.documents << " Drafts × " << shape.sheetsPerDocument
        << " sheets × " << shape.partsPerSheet << " parts | 1 | " << run.hostCalls << " | "
        << run.server.total << " | " << run.documentCallRoundTrips() << " (" << run.opens << " + "
        << run.saves << " + " << run.closes << ") | " << run.batchRoundTripsCompared() << " | "
        << fixed(run.wallSeconds, 1) << " |\n";
    std::int64_t windowCalls = 0;
    double windowSeconds = 0;
    for (const WindowSheetRun& sheet : run.sheets) {
        out << "| window, sheet " << sheet.sheet << " of one Draft (" << sheet.end << ") | 1 | "
            << sheet.hostCalls << " | " << sheet.server.total << " | | " << sheet.server.total
            << " | " << fixed(sheet.wallSeconds, 1) << " |\n";
        windowCalls += sheet.hostCalls;
        windowSeconds += sheet.wallSeconds;
    }
    out << "| window, every sheet of every Draft (" << shape.documents << " × the above) | "
        << windowRuns << " | " << windowCalls * shape.documents << " | " << run.windowRoundTrips()
        << " | | " << run.windowRoundTrips() << " | " << fixed(windowSeconds * shape.documents, 1)
        << " |\n";

    out << "\n| round trips by kind | command-line tool | window, " << windowRuns
        << " runs |\n|---|---:|---:|\n";
    for (const std::string& kind : roundTripKindNames()) {
        out << "| " << kind << " | " << run.server.count(kind) << " | "
            << run.windowRoundTrips(kind) << " |\n";
    }
    out << "| objects marshalled | " << run.server.objectsMarshalled << " | ";
    std::int64_t marshalled = 0;
    for (const WindowSheetRun& sheet : run.sheets) {
        marshalled += sheet.server.objectsMarshalled;
    }
    out << marshalled * shape.documents << " |\n";

    const std::int64_t window = run.windowRoundTrips();
    const std::int64_t compared = run.batchRoundTripsCompared();
    out << "\nThe batch's round trips, its Open, Save and Close calls aside: " << compared
        << " against " << window << " for the window's " << windowRuns << " runs: "
        << (window > 0 ? fixed(static_cast<double>(compared) / static_cast<double>(window), 3)
                       : std::string("-"))
        << " times as many" << (compared <= window ? " (no more)" : " (MORE)") << ".\n";
}

}  // namespace tav::benchcom

#include "tools/bench-com/drawing_run.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/win/child_process.h"
#include "platform/win/program_folder.h"
#include "testbed/result_file/result_format.h"
#include "testbed/result_file/result_reader.h"

namespace tav::benchcom {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A harness that has not ended by then is stuck, however slow the machine:
// the largest drawings end within a few minutes.
constexpr std::chrono::hours runLimit{1};

void writeScene(const Drawing& drawing, const fs::path& scene) {
    nlohmann::json content = scenegen::scaleScene(drawing.family, drawing.parts);
    if (drawing.solidEdgeLibrary) {
        content["com"] = {{"typeLibrary", "solidEdge"}};
    }
    std::ofstream out(scene, std::ios::binary);
    out << content.dump();
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + scene.string());
    }
}

}  // namespace

std::string Drawing::stem() const {
    return std::string(scenegen::familyName(family)) + "-" + std::to_string(parts) +
           (solidEdgeLibrary ? "-solidEdge" : "");
}

std::string_view Drawing::libraryName() const {
    return solidEdgeLibrary ? "solidEdge" : "small";
}

std::optional<Drawing> drawingNamed(const std::string& text) {
    std::string drawing = text;
    bool solidEdgeLibrary = false;
    if (const std::size_t at = drawing.find('@'); at != std::string::npos) {
        const std::string library = drawing.substr(at + 1);
        if (library != "small" && library != "solidEdge") {
            return std::nullopt;
        }
        solidEdgeLibrary = library == "solidEdge";
        drawing.resize(at);
    }
    const std::size_t colon = drawing.rfind(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<scenegen::ScaleFamily> family =
        scenegen::familyNamed(drawing.substr(0, colon));
    const std::string digits = drawing.substr(colon + 1);
    if (!family || digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int parts = std::stoi(digits);
    if (parts < 1 || parts > 32767) {
        return std::nullopt;
    }
    return Drawing{*family, parts, solidEdgeLibrary};
}

std::pair<double, nlohmann::ordered_json> timeHarnessRun(const fs::path& scene,
                                                         const fs::path& resultFile,
                                                         const std::vector<std::wstring>& options) {
    // A result left by an earlier run must not pass for this one's.
    fs::remove(resultFile);
    std::vector<std::wstring> harness{
        (platform::programFolder() / L"tavrelmondix-sim.exe").wstring(),
        scene.wstring(),
        L"--com",
        L"--quiet",
        L"--result",
        resultFile.wstring()};
    harness.insert(harness.end(), options.begin(), options.end());
    const Clock::time_point start = Clock::now();
    // Its standard output goes to this program's standard error: this
    // program's standard output holds the tables alone.
    platform::ChildProcess run(harness, {.output = platform::ChildStream::parentError});
    const std::optional<DWORD> status = run.waitForExit(runLimit);
    if (!status) {
        run.terminate(1);
        throw std::runtime_error(scene.string() + ": the harness ran past " +
                                 std::to_string(runLimit.count()) + " h and was ended");
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (*status != 0) {
        throw std::runtime_error(scene.string() + ": the harness ended with exit status " +
                                 std::to_string(*status));
    }
    nlohmann::ordered_json outcome = result::readJsonFile(resultFile);
    if (!outcome.contains(result::field::hostCalls) ||
        !outcome[result::field::hostCalls].is_number_integer() ||
        !outcome.contains(result::field::end) || !outcome[result::field::end].is_string()) {
        throw std::runtime_error(resultFile.string() + " holds no hostCalls or end");
    }
    return {seconds, std::move(outcome)};
}

std::pair<double, nlohmann::ordered_json> timeHarness(const fs::path& scene,
                                                      const std::wstring& actions,
                                                      const fs::path& resultFile,
                                                      std::vector<std::wstring> extra) {
    extra.insert(extra.begin(), {L"--press", actions});
    return timeHarnessRun(scene, resultFile, extra);
}

DrawingRun runDrawing(const Drawing& drawing, const fs::path& folder) {
    const std::string stem = drawing.stem();
    const fs::path scene = folder / (stem + ".scene.json");
    const fs::path resultFile = folder / (stem + ".result.json");
    const fs::path roundTrips = folder / (stem + ".round-trips.json");
    writeScene(drawing, scene);
    fs::remove(roundTrips);

    DrawingRun run;
    run.drawing = drawing;
    const auto [startUpSeconds, startUp] =
        timeHarness(scene, L"exit", folder / (stem + ".start-up.result.json"), {});
    run.startUpSeconds = startUpSeconds;
    run.startUpHostCalls = startUp[result::field::hostCalls].get<std::int64_t>();

    const auto [wallSeconds, outcome] =
        timeHarness(scene, L"process", resultFile, {L"--round-trips", roundTrips.wstring()});
    run.wallSeconds = wallSeconds;
    run.hostCalls = outcome[result::field::hostCalls].get<std::int64_t>();
    run.end = outcome[result::field::end].get<std::string>();

    const nlohmann::ordered_json trips = result::readJsonFile(roundTrips);
    if (!trips.contains("server") || trips["server"].is_null()) {
        throw std::runtime_error(stem + ": the server wrote no round trips");
    }
    run.server = serverRoundTripsFrom(trips["server"]);
    run.client = trips.value("client", nlohmann::ordered_json::object());
    return run;
}

}  // namespace tav::benchcom

#include "tools/harness/com_session.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "app/cli/cli_program.h"
#include "app/cli/interrupt_gate.h"
#include "app/recording_window.h"
#include "host/com/apartment.h"
#include "host/com/com_connector.h"
#include "testbed/result_file/event_merge.h"
#include "testbed/result_file/result_reader.h"
#include "testbed/server_process/error_object_channel.h"
#include "testbed/server_process/server_start.h"

namespace tav::harness {

using result::EventLog;
using result::HostOutcome;
using result::HostPart;
using result::WindowEvent;
using session::Action;
using session::EventSink;
using session::SessionOutcome;

namespace {

// The harness's end of the program, as tavrelmondix.exe's: the final
// releases share one bound, however busy the host.
class ComSessionExit final : public app::ProgramExit {
  public:
    explicit ComSessionExit(com::CallWatch& calls) : calls_(calls) {}
    void endingBegins() override {
        if (!finalReleases_) {
            finalReleases_.emplace(calls_);
        }
    }
    void endProgram(app::ProgramEnd how) override {
        recorded_.endProgram(how);
        finalReleases_.reset();
    }

  private:
    com::CallWatch& calls_;
    app::RecordedExit recorded_;
    std::optional<com::CallWatch::SharedBound> finalReleases_;
};

// A file name of this run's own for a part the server writes.
std::filesystem::path hostPartPath(const char* suffix) {
    return std::filesystem::temp_directory_path() /
           ("tavrelmondix-host-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64()) + suffix);
}

// The round trips as the server counted them, with what the tool asked of
// COM on its side (some of which COM answers without a round trip).
void writeRoundTrips(const std::string& path, const std::filesystem::path& serverFile,
                     const com::Connection& connection) {
    nlohmann::ordered_json counts;
    {
        std::ifstream server(serverFile, std::ios::binary);
        counts["server"] = server ? nlohmann::ordered_json::parse(server) : nullptr;
    }
    std::filesystem::remove(serverFile);
    counts["client"] = {{"hostCalls", connection.hostCalls},
                        {"nameLookups", connection.classes.lookups()},
                        {"typeInfoRequests", connection.classes.typeInfoRequests()},
                        {"casts", connection.casts},
                        {"releases", connection.releases}};
    std::ofstream(path, std::ios::binary) << counts.dump(1) << "\n";
}

// The server's part, or nothing when it wrote none (it ended without finishing).
std::optional<HostPart> takeHostPart(const std::filesystem::path& path) {
    std::optional<HostPart> part;
    {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            return part;
        }
        part = result::readHostPart(file);
    }
    std::filesystem::remove(path);
    return part;
}

std::int64_t membersIn(const sim::ModelMember& member) {
    std::int64_t count = 1;
    for (const sim::ModelMember& child : member.children) {
        count += membersIn(child);
    }
    return count;
}

std::int64_t partsIn(const sim::OccurrenceCore& occurrence) {
    std::int64_t count = 1;
    for (const sim::SubOccurrence& child : occurrence.children) {
        count += partsIn(child);
    }
    return count;
}

// How long the server may serve: enough for the scene however large it is.
// Over COM a host call takes a few milliseconds, and a drawing takes some
// twenty calls per part; a tenth of a second per object of the scene leaves
// room to spare, on top of a base for start-up and the time the scene makes
// the host wait on purpose (a busy host, a call held in a dialog).
std::int64_t serverSecondsFor(const sim::Scene& scene) {
    std::int64_t objects = static_cast<std::int64_t>(scene.selectedItems.size());
    for (const sim::DrawingView& view : scene.drawingViews) {
        objects += membersIn(view.root);
    }
    for (const sim::Document& document : scene.documents) {
        objects += static_cast<std::int64_t>(document.lineStyles.size());
        for (const sim::Occurrence& occurrence : document.occurrences) {
            objects += partsIn(occurrence);
        }
    }
    std::int64_t waitsMs = 0;
    if (scene.busy) {
        // A busy call is given up on after a bound (30 s), and so are the
        // calls that follow, all together: twice the bound at most.
        waitsMs += std::min<std::int64_t>(std::int64_t{scene.busy->rejections} * 200, 60000);
    }
    if (scene.com.stall) {
        waitsMs += scene.com.stall->ms;
    }
    // sehost-sim takes up to a day.
    return std::min<std::int64_t>(120 + objects / 10 + waitsMs / 1000, 86400);
}

// The members for the report of what changed: as the scene brought them
// (names and paths), with the styles the host holds at the end.
std::vector<result::PartMemberState> membersAtEnd(
    std::vector<result::PartMemberState> before, const std::vector<result::PartMemberState>& host) {
    for (std::size_t i = 0; i < before.size() && i < host.size(); ++i) {
        before[i].visible = host[i].visible;
        before[i].hidden = host[i].hidden;
        before[i].tangent = host[i].tangent;
    }
    return before;
}

// The server's arguments: the scene's path as the harness itself opened it
// (a path made from the same narrow text names the same file), where it
// writes its part, and how long it may serve.
std::vector<std::wstring> serverArgumentsFor(const std::string& scenePath, const sim::Scene& scene,
                                             const std::filesystem::path& hostPartFile,
                                             const ComSessionOptions& options,
                                             const std::filesystem::path& roundTripsFile) {
    std::vector<std::wstring> serverArguments{std::filesystem::path(scenePath).wstring(),
                                              L"--result", hostPartFile.wstring(), L"--timeout",
                                              std::to_wstring(serverSecondsFor(scene))};
    if (!options.roundTrips.empty()) {
        serverArguments.insert(serverArguments.end(), {L"--round-trips", roundTripsFile.wstring()});
    }
    if (!options.typeLibraryReport.empty()) {
        serverArguments.insert(
            serverArguments.end(),
            {L"--type-library", std::filesystem::path(options.typeLibraryReport).wstring()});
    }
    return serverArguments;
}

}  // namespace

ComSessionOutcome runComSession(const std::string& scenePath, sim::Scene scene,
                                const std::vector<Action>& actions, const EventSink& live,
                                const ComSessionOptions& options, EventLog& events) {
    const std::filesystem::path hostPartFile = hostPartPath(".json");
    const std::filesystem::path roundTripsFile = hostPartPath(".round-trips.json");
    platform::ChildProcess server = serverprocess::startServerBeside(
        serverArgumentsFor(scenePath, scene, hostPartFile, options, roundTripsFile));
    serverprocess::waitUntilReady(server);

    ComSessionOutcome outcome;
    SessionOutcome& tool = outcome.toolSide;
    tool.partMembersBefore = sim::SimHost(std::move(scene), {}).inspector().partMembers();
    std::vector<WindowEvent> windowEvents;
    {
        com::Apartment apartment(options.busy);
        // Wine's COM does not bring a host's error object to this thread
        // with the reply, as Windows' does; this makes up for it.
        serverprocess::carryErrorObjectsAcrossProcesses();
        com::ComConnector connector(apartment.calls());
        app::RecordingWindow window([&](const app::UiEvent& event) {
            if (live) {
                live(event);
            }
            windowEvents.push_back({event, connector.hostCalls()});
        });
        {
            ComSessionExit exit(apartment.calls());
            app::Form1 form(connector, window, exit);
            tool.end = session::playActions(form, actions);
            // The host counts the references the tool holds as the program ends,
            // as in process: the server finishes before the form gives them back
            // (to a server that is gone, which fails at once).
            server.finish(serverprocess::serverFinishing);
        }
        tool.window = window.shown();
        if (!options.roundTrips.empty()) {
            writeRoundTrips(options.roundTrips, roundTripsFile, connector.connection());
        }
    }

    std::optional<HostPart> host = takeHostPart(hostPartFile);
    result::mergeEvents(windowEvents, host ? host->events : std::vector<result::HostEvent>{},
                        events);
    if (host) {
        static_cast<HostOutcome&>(tool) = host->outcome;
        tool.partMembers = membersAtEnd(tool.partMembersBefore, host->outcome.partMembers);
        outcome.nameLookups = host->nameLookups;
    }
    return outcome;
}

ComCliOutcome runComCliSession(const std::string& scenePath, const sim::Scene& scene,
                               const session::CliSessionOptions& cliOptions,
                               const ComSessionOptions& options, EventLog& events) {
    const std::filesystem::path hostPartFile = hostPartPath(".json");
    const std::filesystem::path roundTripsFile = hostPartPath(".round-trips.json");
    std::vector<std::wstring> serverArguments =
        serverArgumentsFor(scenePath, scene, hostPartFile, options, roundTripsFile);
    serverArguments.push_back(L"--command-line-run");
    platform::ChildProcess server = serverprocess::startServerBeside(serverArguments);
    serverprocess::waitUntilReady(server);

    session::CapturedConsole console(cliOptions.programFolder);
    int exitCode = 0;
    std::optional<std::u16string> reportPath;
    {
        com::Apartment apartment(options.busy);
        serverprocess::carryErrorObjectsAcrossProcesses();
        com::ComConnector connector(apartment.calls());
        {
            cli::InterruptGate gate;
            if (cliOptions.interruptAtCall) {
                gate.requestBeforeCall(*cliOptions.interruptAtCall);
            }
            const cli::CliRunOutput run =
                cli::runCommandLine(console, connector, gate, cliOptions.arguments);
            exitCode = run.exitCode;
            reportPath = run.reportPath;
            connector.releaseKept();
        }
        server.finish(serverprocess::serverFinishing);
        if (!options.roundTrips.empty()) {
            writeRoundTrips(options.roundTrips, roundTripsFile, connector.connection());
        }
    }
    std::optional<HostPart> host = takeHostPart(hostPartFile);
    result::mergeEvents({}, host ? host->events : std::vector<result::HostEvent>{}, events);
    ComCliOutcome served;
    served.outcome.cli = session::cliOutcomeOf(console, exitCode, reportPath);
    if (host) {
        static_cast<HostOutcome&>(served.outcome) = host->outcome;
        served.nameLookups = host->nameLookups;
    }
    return served;
}

}  // namespace tav::harness

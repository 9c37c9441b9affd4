#include "tools/harness/com_session.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/recording_window.h"
#include "host/automation_ids.h"
#include "host/com/apartment.h"
#include "host/com/com_connector.h"
#include "tools/harness/result_file.h"
#include "tools/harness/result_merge.h"
#include "tools/harness/server_process.h"

namespace tav::harness {
namespace {

std::wstring widen(const std::string& text) {
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// A file name of this run's own for the server's side of the result.
std::filesystem::path hostResultPath() {
    return std::filesystem::temp_directory_path() /
           ("tavrelmondix-host-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64()) + ".json");
}

// The server's side, or null when it wrote none (it ended without finishing).
nlohmann::ordered_json readHostSide(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return nullptr;
    }
    nlohmann::ordered_json json = nlohmann::ordered_json::parse(file);
    file.close();
    std::filesystem::remove(path);
    return json;
}

// The host's state as the report shows it, from the server's result.
void fillHostFields(SessionOutcome& outcome, const nlohmann::ordered_json& host) {
    outcome.hostCalls = host.at("hostCalls").get<std::int32_t>();
    outcome.heldReferences = host.at("heldReferences").get<std::int32_t>();
    outcome.interactive = host.at("host").at("properties").at("18").get<bool>();
    outcome.delayCompute = host.at("host").at("properties").at("73").get<bool>();
    outcome.commands = host.at("host").at("commands").get<std::vector<std::int32_t>>();
    outcome.selection = host.at("selection").get<std::vector<std::string>>();
    for (const auto& style : host.at("lineStyles")) {
        sim::LineStyleState state;
        state.name = style.at("name").get<std::string>();
        state.color = style.at("color").get<std::int32_t>();
        if (!style.at("template").is_null()) {
            state.templateName = style.at("template").get<std::string>();
        }
        outcome.lineStyles.push_back(std::move(state));
    }
    // The members in scene order, as the scene brought them, with the styles
    // they ended with.
    const auto& members = host.at("members");
    outcome.partMembers = outcome.partMembersBefore;
    for (std::size_t i = 0; i < members.size() && i < outcome.partMembers.size(); ++i) {
        outcome.partMembers[i].visible = members[i].at("visible").get<std::string>();
        outcome.partMembers[i].hidden = members[i].at("hidden").get<std::string>();
        outcome.partMembers[i].tangent = members[i].at("tangent").get<std::string>();
    }
}

}  // namespace

ComSessionOutcome runComSession(const std::string& scenePath, sim::Scene scene,
                                const std::vector<Action>& actions, const EventSink& live,
                                const com::BusyRetryPolicy& busy) {
    const std::filesystem::path hostResult = hostResultPath();
    ServerProcess server(programFolder() + L"sehost-sim.exe",
                         {widen(scenePath), L"--result", hostResult.wstring()});
    if (!server.waitReady()) {
        throw std::runtime_error("sehost-sim.exe ended before it was ready (exit status " +
                                 std::to_string(server.finish()) + ")");
    }

    ComSessionOutcome outcome;
    SessionOutcome& tool = outcome.toolSide;
    tool.partMembersBefore = sim::SimHost(std::move(scene), {}).inspector().partMembers();
    std::vector<std::int32_t> callsBefore;
    {
        com::Apartment apartment(busy);
        com::ComConnector connector(busy);
        app::RecordingWindow window([&](const app::UiEvent& event) {
            if (live) {
                live(event);
            }
            tool.events.push_back(event);
            callsBefore.push_back(connector.hostCalls());
        });
        {
            app::RecordedExit exit;
            app::Form1 form(connector, window, exit);
            tool.end = playActions(form, actions);
            // The host counts the references the tool holds as the program ends,
            // as in process: the server finishes before the form gives them back
            // (to a server that is gone, which fails at once).
            server.finish();
        }
        tool.window = finalWindow(window);
    }

    nlohmann::ordered_json hostSide = readHostSide(hostResult);
    outcome.hostFinished = !hostSide.is_null();
    outcome.result =
        mergeResults(resultJson(tool), callsBefore, outcome.hostFinished ? &hostSide : nullptr);
    if (outcome.hostFinished) {
        fillHostFields(tool, hostSide);
    }
    return outcome;
}

}  // namespace tav::harness

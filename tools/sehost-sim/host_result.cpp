#include "tools/sehost-sim/host_result.h"

#include <fstream>
#include <stdexcept>

#include "tools/harness/result_file.h"

namespace tav::sehost {

nlohmann::ordered_json hostResultJson(const sim::SimInspector& host, std::int32_t heldReferences,
                                      const std::vector<sim::HostEvent>& events,
                                      std::int32_t nameLookups) {
    // The harness's result writer gives the shape; the window's side is
    // dropped from it.
    harness::SessionOutcome outcome;
    outcome.hostCalls = host.hostCalls();
    outcome.heldReferences = heldReferences;
    outcome.interactive = host.property(host::dispatch::application::interactive);
    outcome.delayCompute = host.property(host::dispatch::application::delayCompute);
    outcome.commands = host.commands();
    outcome.selection = host.selection();
    outcome.lineStyles = host.lineStyles();
    outcome.partMembers = host.partMembers();
    nlohmann::ordered_json json = harness::resultJson(outcome);
    json.erase("end");
    json.erase("window");

    nlohmann::ordered_json numbered = nlohmann::ordered_json::array();
    for (const sim::HostEvent& hostEvent : events) {
        nlohmann::ordered_json event = harness::eventJson(hostEvent);
        event["call"] = hostEvent.call;
        numbered.push_back(std::move(event));
    }
    json["events"] = std::move(numbered);
    json["nameLookups"] = nameLookups;
    return json;
}

void writeResultFile(const std::filesystem::path& file, const nlohmann::ordered_json& json) {
    std::filesystem::path temporary = file;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << json.dump(1) << '\n';
        out.flush();
        if (!out) {
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    std::filesystem::rename(temporary, file);
}

}  // namespace tav::sehost

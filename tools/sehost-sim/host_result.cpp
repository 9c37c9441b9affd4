#include "tools/sehost-sim/host_result.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/harness/result_file.h"

namespace tav::sehost {

nlohmann::ordered_json hostResultJson(const sim::SimInspector& host, std::int32_t heldReferences,
                                      const std::vector<sim::HostEvent>& events,
                                      std::int32_t nameLookups) {
    // The harness's writer of a host's part gives the shape.
    harness::HostOutcome outcome = harness::hostOutcomeOf(host);
    outcome.heldReferences = heldReferences;
    harness::EventLog log(harness::EventLog::CallNumbers::written);
    for (const sim::HostEvent& hostEvent : events) {
        log.add(hostEvent);
    }
    std::ostringstream text;
    harness::writeHostPart(text, outcome, nameLookups, log);
    return nlohmann::ordered_json::parse(text.str());
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

#include "tools/sehost-sim/host_result.h"

#include <sstream>

#include "tools/files/atomic_file.h"
#include "tools/harness/result_file.h"

namespace tav::sehost {

std::string hostResultText(const sim::SimInspector& host, std::int32_t heldReferences,
                           const std::vector<sim::HostEvent>& events, std::int32_t nameLookups) {
    // The harness's writer of a host's part gives the shape.
    harness::HostOutcome outcome = harness::hostOutcomeOf(host);
    outcome.heldReferences = heldReferences;
    harness::EventLog log(harness::EventLog::CallNumbers::written);
    for (const sim::HostEvent& hostEvent : events) {
        log.add(hostEvent);
    }
    std::ostringstream text;
    harness::writeHostPart(text, outcome, nameLookups, log);
    return text.str();
}

void writeResultFile(const std::filesystem::path& file, const std::string& text) {
    files::writeAtomically(file, [&text](std::ostream& out) { out << text; });
}

}  // namespace tav::sehost

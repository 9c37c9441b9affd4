#include "tools/sehost-sim/host_result.h"

#include <sstream>

#include "testbed/result_file/atomic_file.h"
#include "testbed/result_file/result_writer.h"

namespace tav::sehost {

std::string hostResultText(const sim::SimInspector& host, std::int32_t heldReferences,
                           std::optional<std::int32_t> rejectedReleases,
                           const std::vector<result::HostEvent>& events, std::int32_t nameLookups,
                           bool commandLineRun) {
    // The result library's writer of a host's part gives the shape.
    result::HostOutcome outcome = result::hostOutcomeOf(host, commandLineRun);
    outcome.heldReferences = heldReferences;
    outcome.rejectedReleases = rejectedReleases;
    result::EventLog log(result::EventLog::CallNumbers::written);
    for (const result::HostEvent& hostEvent : events) {
        log.add(hostEvent);
    }
    std::ostringstream text;
    result::writeHostPart(text, outcome, nameLookups, log);
    return text.str();
}

void writeResultFile(const std::filesystem::path& file, const std::string& text) {
    result::writeAtomically(file, [&text](std::ostream& out) { out << text; });
}

}  // namespace tav::sehost

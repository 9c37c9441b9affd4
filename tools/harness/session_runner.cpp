#include "tools/harness/session_runner.h"

#include <stdexcept>
#include <utility>

#include "testbed/result_file/result_writer.h"
#include "tools/harness/in_process_runner.h"

#ifdef _WIN32
#include "tools/harness/com_runner.h"
#endif

namespace tav::harness {

std::unique_ptr<SessionRunner> makeSessionRunner(const RunnerChoice& choice) {
    if (!choice.overCom) {
        return std::make_unique<InProcessRunner>(choice.keepEvents);
    }
#ifdef _WIN32
    return std::make_unique<ComRunner>(choice);
#else
    throw std::invalid_argument("--com runs the tool over COM, which only the Windows build has");
#endif
}

void writeRunResult(std::ostream& out, const HarnessRun& run, const result::EventLog& events) {
    if (run.overCom) {
        // Without the host's part when the server ended without finishing.
        result::writeResultFile(out, run.outcome, run.nameLookups ? &run.outcome : nullptr,
                                run.nameLookups, events);
    } else {
        result::writeResultFile(out, run.outcome, events);
    }
}

}  // namespace tav::harness

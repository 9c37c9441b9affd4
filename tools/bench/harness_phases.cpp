#include "tools/bench/harness_phases.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/sim/scene_loader.h"
#include "testbed/harness_session/session.h"
#include "testbed/result_file/event_log.h"
#include "testbed/result_file/result_writer.h"
#include "tools/bench/process_clock.h"

namespace tav::bench {

PhaseTime HarnessFigures::total() const {
    return {load.wallSeconds + run.wallSeconds + result.wallSeconds,
            load.cpuSeconds + run.cpuSeconds + result.cpuSeconds};
}

HarnessFigures measureHarnessRun(const std::string& scenePath, const std::string& resultPath) {
    HarnessFigures figures;
    PhaseClock clock;
    sim::Scene scene = sim::loadScene(scenePath);
    figures.load = clock.lap();

    result::EventLog events;
    session::SessionOutcome outcome = session::runSession(
        std::move(scene), {session::Action::process},
        [&events](const result::Event& event) { events.add(event); },
        {.events = session::EventRetention::streamOnly, .membersBefore = false});
    figures.run = clock.lap();

    {
        std::ofstream file(resultPath, std::ios::binary);
        result::writeResultFile(file, outcome, events);
        file.close();
        if (!file) {
            throw std::runtime_error("cannot write " + resultPath);
        }
    }
    figures.result = clock.lap();

    figures.peakKiB = peakResidentKiB();
    figures.hostCalls = outcome.hostCalls;
    figures.partMembers = static_cast<std::int64_t>(outcome.partMembers.size());
    figures.end = result::endName(outcome.end);
    return figures;
}

std::string toLine(const HarnessFigures& f) {
    std::ostringstream line;
    line.precision(9);
    line << f.load.wallSeconds << ' ' << f.load.cpuSeconds << ' ' << f.run.wallSeconds << ' '
         << f.run.cpuSeconds << ' ' << f.result.wallSeconds << ' ' << f.result.cpuSeconds << ' '
         << f.peakKiB << ' ' << f.hostCalls << ' ' << f.partMembers << ' ' << f.end;
    return line.str();
}

HarnessFigures fromLine(const std::string& text) {
    std::istringstream line(text);
    HarnessFigures f;
    line >> f.load.wallSeconds >> f.load.cpuSeconds >> f.run.wallSeconds >> f.run.cpuSeconds >>
        f.result.wallSeconds >> f.result.cpuSeconds >> f.peakKiB >> f.hostCalls >> f.partMembers >>
        f.end;
    if (!line) {
        throw std::runtime_error("unreadable measurement: " + text);
    }
    return f;
}

}  // namespace tav::bench

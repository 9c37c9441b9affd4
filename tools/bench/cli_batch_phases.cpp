#include "tools/bench/cli_batch_phases.h"

#include <sstream>
#include <stdexcept>

#include "app/cli/cli_program.h"
#include "app/cli/interrupt_gate.h"
#include "host/sim/scene_loader.h"
#include "host/sim/sim_host.h"
#include "platform/utf.h"
#include "testbed/harness_session/cli_session.h"
#include "testbed/result_file/outcome.h"
#include "tools/bench/process_clock.h"

namespace tav::bench {

BatchFigures measureCliBatch(const std::filesystem::path& scenePath,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& programFolder) {
    BatchFigures figures;
    std::vector<std::u16string> toolArguments;
    toolArguments.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        toolArguments.push_back(platform::toUtf16(argument));
    }

    PhaseClock clock;
    sim::Scene scene = sim::loadScene(scenePath);
    figures.load = clock.lap();

    // No event sink: the host builds no event for anyone to keep.
    sim::SimHost host(std::move(scene));
    figures.fixture = clock.lap();
    figures.fixturePeakKiB = peakResidentKiB();

    {
        session::CapturedConsole console(programFolder);
        cli::InterruptGate gate;
        figures.exitCode =
            cli::runCommandLine(console, host.connector(), gate, toolArguments).exitCode;
    }
    figures.tool = clock.lap();
    figures.peakKiB = peakResidentKiB();

    // Read after the peak is taken: the state of every document and member
    // is the harness's result, not the tool's run.
    figures.hostCalls = host.inspector().hostCalls();
    for (const result::DocumentState& document : host.inspector().documents()) {
        if (document.draft && document.saves > 0 && !document.open) {
            ++figures.documentsSaved;
        }
    }
    return figures;
}

std::string toLine(const BatchFigures& f) {
    std::ostringstream line;
    line.precision(9);
    line << f.load.wallSeconds << ' ' << f.load.cpuSeconds << ' ' << f.fixture.wallSeconds << ' '
         << f.fixture.cpuSeconds << ' ' << f.tool.wallSeconds << ' ' << f.tool.cpuSeconds << ' '
         << f.fixturePeakKiB << ' ' << f.peakKiB << ' ' << f.hostCalls << ' ' << f.exitCode << ' '
         << f.documentsSaved;
    return line.str();
}

BatchFigures batchFiguresFromLine(const std::string& text) {
    std::istringstream line(text);
    BatchFigures f;
    line >> f.load.wallSeconds >> f.load.cpuSeconds >> f.fixture.wallSeconds >>
        f.fixture.cpuSeconds >> f.tool.wallSeconds >> f.tool.cpuSeconds >> f.fixturePeakKiB >>
        f.peakKiB >> f.hostCalls >> f.exitCode >> f.documentsSaved;
    if (!line) {
        throw std::runtime_error("unreadable measurement: " + text);
    }
    return f;
}

}  // namespace tav::bench

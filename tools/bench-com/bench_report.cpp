#include "tools/bench-com/bench_report.h"

namespace tav::benchcom {

double msPerHostCall(const DrawingRun& run) {
    return run.hostCalls > 0 ? run.wallSeconds * 1000 / static_cast<double>(run.hostCalls) : 0.0;
}

double netMsPerHostCall(const DrawingRun& run) {
    const std::int64_t calls = run.hostCalls - run.startUpHostCalls;
    return calls > 0 ? (run.wallSeconds - run.startUpSeconds) * 1000 / static_cast<double>(calls)
                     : 0.0;
}

double bareMedianMs(const BenchReport& report) {
    return (report.bareBefore.times.medianMs + report.bareAfter.times.medianMs) / 2;
}

}  // namespace tav::benchcom

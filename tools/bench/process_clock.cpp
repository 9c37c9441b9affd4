#include "tools/bench/process_clock.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

namespace tav::bench {
namespace {

double cpuSeconds() {
    std::timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

}  // namespace

std::int64_t peakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            std::int64_t kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

PhaseClock::PhaseClock() : wall_(wallSeconds()), cpu_(cpuSeconds()) {}

PhaseTime PhaseClock::lap() {
    const double wall = wallSeconds();
    const double cpu = cpuSeconds();
    PhaseTime phase{wall - wall_, cpu - cpu_};
    wall_ = wall;
    cpu_ = cpu;
    return phase;
}

}  // namespace tav::bench

// This process's clocks and memory, as the benchmarks read them (Linux).
#pragma once

#include <cstdint>

namespace tav::bench {

struct PhaseTime {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

// The high-water mark of this process's resident memory, 0 when unknown.
std::int64_t peakResidentKiB();

// Wall and CPU time from one lap to the next.
class PhaseClock {
  public:
    PhaseClock();
    // The time since the last lap (or the start).
    PhaseTime lap();

  private:
    double wall_;
    double cpu_;
};

}  // namespace tav::bench

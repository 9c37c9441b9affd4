// Text for the benchmarks' tables: numbers at a fixed precision and the
// machine they ran on.
#pragma once

#include <cstdint>
#include <string>

namespace tav::bench {

std::string fixed(double value, int decimals);
double mib(std::int64_t kib);
// "processor model, N cores", from /proc/cpuinfo.
std::string machine();

}  // namespace tav::bench

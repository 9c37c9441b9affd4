// Every figure of the benchmark as JSON, for --json.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/bench-com/bench_report.h"

namespace tav::benchcom {

nlohmann::ordered_json reportJson(const BenchReport& report);

}  // namespace tav::benchcom

// The benchmark's figures as Markdown tables, ready for docs/performance.md:
// the bare round trip before and after the drawings, each drawing's whole
// run against it, and the drawings' round trips by kind.
#pragma once

#include <ostream>

#include "tools/bench-com/bench_report.h"

namespace tav::benchcom {

void printTables(std::ostream& out, const BenchReport& report);

}  // namespace tav::benchcom

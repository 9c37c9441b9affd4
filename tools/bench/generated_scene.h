// Large drawings for benchmarks: an assembly of `subassemblies` subassemblies
// of `partsPerSubassembly` parts each (every part file used twice), drawn by
// one view whose members mirror the assembly.
#pragma once

#include <nlohmann/json.hpp>

namespace tav::bench {

nlohmann::json generatedScene(int subassemblies, int partsPerSubassembly);

}  // namespace tav::bench

// Scenes built in code, for tests and benchmarks.
//
// generatedScene: a large drawing for benchmarks, an assembly of `subassemblies` subassemblies
// of `partsPerSubassembly` parts each (every part file used twice), drawn by
// one view whose members mirror the assembly.
#pragma once

#include <nlohmann/json.hpp>

namespace tav::scenegen {

// One draft D1 whose sheet holds the view V1 (model C:\Work\Top.asm) of the
// assembly A1, with the given top-level occurrences of A1 and root children
// of V1's members; nothing selected, one line style "Normal".
nlohmann::json singleViewScene(nlohmann::json occurrences, nlohmann::json rootChildren);

nlohmann::json generatedScene(int subassemblies, int partsPerSubassembly);

}  // namespace tav::scenegen

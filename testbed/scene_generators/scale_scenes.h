// Drawings of a given number of parts for the scale benchmark, one per kind
// of drawing whose cost could grow differently:
//
// - flat: one view of an assembly of `parts` parts at its top level, in 97
//   colours, half of them coloured by their occurrence style and half by
//   their body's face style;
// - nested: the same number of parts below the top level, in towers of
//   subassemblies eight deep with four parts on every level;
// - ownColors: flat, but every part has a colour of its own, so that the run
//   creates three line styles per part;
// - severalViews: four views on the sheet, each drawing the whole flat
//   assembly;
// - secondRun: ownColors on a draft that already holds every style and whose
//   members already wear them, as a second run finds it.
//
// Every view draws every part once, its members in the assembly's order.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::scenegen {

enum class ScaleFamily { flat, nested, ownColors, severalViews, secondRun };

const std::vector<ScaleFamily>& scaleFamilies();
std::string_view familyName(ScaleFamily family);
std::optional<ScaleFamily> familyNamed(std::string_view name);

// The drawing of `family` with `parts` part occurrences in its assembly.
nlohmann::json scaleScene(ScaleFamily family, int parts);

// Views on the sheet for `family`.
int viewsOf(ScaleFamily family);

}  // namespace tav::scenegen

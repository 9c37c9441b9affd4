// Taking the tool's own line styles out of a draft once no drawing view uses
// them. A style is used when any model member of any drawing view, at any
// depth and of any type, on any sheet (working or background), has it as
// its visible, hidden or tangent style. Only the tool's own styles are ever
// removed.
//
// Error modes: finding which styles are used is all or nothing (a view or
// member that cannot be read could be using any style, so then nothing is
// removed and the reason is given); each removal is tolerated on its own (a
// refused one is reported and the rest go on). Nothing here ends the
// document.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

struct StyleRemoval {
    // Removed, or in a dry run those that would be.
    std::vector<std::u16string> removed;
    // Removals the host refused: the style and the host's error.
    std::vector<std::pair<std::u16string, std::u16string>> refused;
    // Why none was looked for: the styles or their use could not be read.
    std::optional<std::u16string> notSearched;
};

// Removes the unused styles of the state's draft; counts them in the
// statistics. In a dry run nothing is removed, and the state's planned style
// changes stand for the puts the run would have made.
StyleRemoval removeUnusedStyles(RunContext& context);

}  // namespace tav::engine

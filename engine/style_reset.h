// Undoing the tool's colours: each edge of a part member whose style is one
// of the tool's own gets back the style that one was made from, found by
// following "Parent" from style to style until a style not the tool's own.
//
// Every step is tolerated: an edge whose origin cannot be found (an empty
// parent, a name the draft no longer holds, a chain that comes back on
// itself, a read that fails) or whose put is refused keeps its style, and
// the run counts it and says why in the member's record.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

// Resets member i (1-based) of the current view's table. In a dry run
// nothing is put; the record shows what would be.
void resetMemberStyles(RunContext& context, std::int32_t i);

// Where `styleName` (one of the tool's own) leads in the draft's line
// styles, looked up once per document and kept in the state.
const StyleOrigin& styleOriginOf(EngineState& state, const std::u16string& styleName);

}  // namespace tav::engine

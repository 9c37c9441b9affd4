#pragma once

#include <string_view>

#include "engine/run_context.h"

namespace tav::engine {

// One visit of a collection walk. Every tenth visit (counted across both
// walks and every view) appends a dot to the part line and repaints; a
// line grown past 110 code units starts again from `restartCaption`.
void progressStep(RunContext& context, std::u16string_view restartCaption);

}  // namespace tav::engine

// Putting a member's colour on the drawing: the colour's three line styles
// ("<colour>_visible", "_hidden", "_tangent") are made to exist in the draft
// and assigned to the member's visible, hidden and tangent edges.
//
// Both steps tolerate every failure: a style that cannot be created,
// coloured or assigned is skipped, and the next one is tried.
#pragma once

#include <cstdint>
#include <string>

#include "engine/color_value.h"
#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

// The colour a part's styles are named after and given: the part's own, or
// with paper-safe colours its darkened one.
ColorValue styleColor(const EngineState& state, ColorValue partColor);

// For member i (1-based) with a colour: addStyles, then matchStyle (neither
// in a dry run). Counts what it met and changed in the state's statistics.
void applyMemberStyles(RunContext& context, std::int32_t i);

// Looks each of the colour's three styles up by name and creates the missing
// ones from the captured template names, in the given colour. A style that
// exists is used unchanged, whatever its colour. `baseName` is the colour's
// decimal value ("255" for red), which the three names begin with.
void addStyles(RunContext& context, const std::u16string& baseName, ColorValue color);

// Puts the three style names of `baseName` into the member's edge style
// properties; how many of the three puts succeeded.
std::int32_t matchStyle(const host::ObjectRef& member, const std::u16string& baseName);

}  // namespace tav::engine

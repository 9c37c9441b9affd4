// The assembly side of a view: one PartRecord per part occurrence, with its
// file name, the chain of subassemblies above it and its colour.
//
// The walk is strict: a failure ends it (records appended before stay) and
// reaches the run driver. Only the probe of a subassembly's count is
// tolerated: a subassembly whose children cannot be counted is skipped.
#pragma once

#include <string>

#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

// Walks the top level of `assemblyDocument`, the assembly the view shows.
void readAllSubOccurrences(RunContext& context, const host::ObjectRef& assemblyDocument);

// Walks one sub-occurrence and everything below it. `path` is the assemblyPath of
// the subassembly chain that holds it ("/Frame.asm/Door.asm"); never empty.
void readSubOccurrences(RunContext& context, const host::ObjectRef& subOccurrence,
                        const std::u16string& path);

}  // namespace tav::engine

// The drawing side of a view: one MemberRecord per part member the view
// draws, with its name and the chain of container members above it. On the
// way, the edge style names of the first eligible part member are captured
// once per program life as templates for new line styles.
#pragma once

#include <string>

#include "engine/run_context.h"
#include "host/value.h"

namespace tav::engine {

// Takes the view's root member and walks its children. Failures while
// fetching the root, its children or their count end the walk and reach the
// run driver.
void readAllModelMembers(RunContext& context, const host::ObjectRef& view);

// Walks one member and everything below it. Every failure from the type read
// on is absorbed: the member, or the child in question, is skipped.
void readModelMembers(RunContext& context, const host::ObjectRef& member,
                      const std::u16string& path);

}  // namespace tav::engine

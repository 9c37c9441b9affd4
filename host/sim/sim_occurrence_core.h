// What occurrences answer alike at every level of an assembly (whether they
// are subassemblies, their sub-occurrences, their file), under the dispatch
// ids of their level.
#pragma once

#include <optional>

#include "host/automation_ids.h"
#include "host/sim/scene.h"
#include "host/sim/sim_call.h"
#include "host/value.h"

namespace tav::sim::objects {

struct OccurrenceMembers {
    host::DispId isSubassembly = 0;
    host::DispId subOccurrences = 0;
    host::DispId fileName = 0;
};

inline constexpr OccurrenceMembers topLevelMembers{host::dispatch::occurrence::isSubassembly,
                                                   host::dispatch::occurrence::subOccurrences,
                                                   host::dispatch::occurrence::fileName};
inline constexpr OccurrenceMembers subLevelMembers{host::dispatch::subOccurrence::isSubassembly,
                                                   host::dispatch::subOccurrence::subOccurrences,
                                                   host::dispatch::subOccurrence::fileName};

// The answer to `call` when it asks for one of the shared members; nothing
// when it asks for another.
std::optional<host::Value> answerSharedMember(SimCall& call, const OccurrenceCore& occurrence,
                                              const OccurrenceMembers& members);

}  // namespace tav::sim::objects

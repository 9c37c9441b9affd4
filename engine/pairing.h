#pragma once

#include "engine/run_tables.h"

namespace tav::engine {

// Gives each member, in table order, the colour of the first part record not
// yet used whose assemblyPath and fileName equal the member's without regard to
// case, and marks that part used. A member without such a part keeps its
// colour. This is exactly the result of scanning every part for every member,
// found through a hash of the lower-cased pair so that the cost grows with
// the tables, not with their product.
//
// Both tables are walked with 16-bit bounds: "Overflow" for more than 32767
// members, or for more than 32767 parts when there is a member to pair.
void pairMembers(RunTables& tables);

}  // namespace tav::engine

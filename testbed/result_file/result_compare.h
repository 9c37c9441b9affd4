// Two result files of the same scene and actions compared field by field and
// event by event: the in-process harness's and the one over COM.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::result {

// Every difference as "PATH: expected X, got Y" (paths as events[3].text).
// "nameLookups", which only a run over COM reports, is not compared. Where
// the actual result has "rejectedReleases" (a host that rejected releases
// while busy keeps those references), its heldReferences is taken net of
// them.
std::vector<std::string> resultDifferences(const nlohmann::ordered_json& expected,
                                           const nlohmann::ordered_json& actual);

}  // namespace tav::result

// Result files read back: a whole file as JSON, for comparing results and
// reading figures from them, and the host's part that a server writes over
// COM as values, for merging with the window's part (event_merge.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <vector>

#include <nlohmann/json.hpp>

#include "testbed/result_file/outcome.h"
#include "testbed/result_file/records/host_event.h"

namespace tav::result {

// A whole JSON file as the tools write them (a result file, or the round
// trips that go with one). Raises std::runtime_error "cannot read FILE" or
// "FILE: WHAT IS WRONG".
nlohmann::ordered_json readJsonFile(const std::filesystem::path& file);

struct HostPart {
    HostOutcome outcome;
    std::int64_t nameLookups = 0;
    std::vector<result::HostEvent> events;  // each with its call number
};

// Reads a host's part; raises std::runtime_error saying what is wrong.
HostPart readHostPart(std::istream& in);

}  // namespace tav::result

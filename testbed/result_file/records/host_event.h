// A change the tool asks of the simulated host, as the result file and the
// terminal report show it: every put, and every method call that changes the
// host's or the document's state, failed ones included.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "host/automation_ids.h"

namespace tav::result {

struct HostEvent {
    enum class Verb { put, call };
    Verb verb = Verb::put;
    // "host", "selectSet", "lineStyles", "lineStyle:NAME", "member:ID",
    // "documents" or "document:ID".
    std::string object;
    host::DispId member = 0;
    // For a put: the value put (Boolean, integer or string). For a call: the
    // array of arguments.
    nlohmann::json payload;
    bool ok = true;
    // The number of the host call that asked for the change (from 1). Only
    // the COM server writes it into its result file.
    std::int32_t call = 0;
    // A member called by name ("Open", "DisplayAlerts"): events name it so,
    // and `member` is unused.
    std::string memberName = {};
};

}  // namespace tav::result

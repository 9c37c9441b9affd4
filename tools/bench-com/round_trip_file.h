// The round trips that sehost-sim.exe counts with --round-trips (every call
// that came in from a client, by kind), as read back from its file or from
// the "server" part of the harness's --round-trips file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::benchcom {

struct RoundTripKind {
    std::string name;  // as the file names it: "invoke", "getIDsOfNames", ...
    std::int64_t count = 0;
};

struct ServerRoundTrips {
    std::int64_t total = 0;
    // Every kind of round trip the server tells apart, in the file's order.
    std::vector<RoundTripKind> kinds;
    // Served objects that reached a client (each in the reply of some call,
    // so no round trip of its own).
    std::int64_t objectsMarshalled = 0;

    std::int64_t count(const std::string& kind) const;
};

// The kinds of round trip, in the order tables list them.
const std::vector<std::string>& roundTripKindNames();

// Raises std::runtime_error when a count is missing.
ServerRoundTrips serverRoundTripsFrom(const nlohmann::ordered_json& counts);

}  // namespace tav::benchcom

#include "tools/bench-com/round_trip_file.h"

#include <fstream>
#include <stdexcept>

namespace tav::benchcom {

const std::vector<std::string>& roundTripKindNames() {
    static const std::vector<std::string> names{
        "invoke",  "getIDsOfNames", "getTypeInfo", "getTypeInfoCount", "queryInterface", "addRef",
        "release", "typeInfoCalls", "other",       "rejected"};
    return names;
}

std::int64_t ServerRoundTrips::count(const std::string& kind) const {
    for (const RoundTripKind& entry : kinds) {
        if (entry.name == kind) {
            return entry.count;
        }
    }
    return 0;
}

ServerRoundTrips serverRoundTripsFrom(const nlohmann::ordered_json& counts) {
    auto number = [&](const std::string& name) {
        if (!counts.is_object() || !counts.contains(name) || !counts[name].is_number_integer()) {
            throw std::runtime_error("the round trips hold no count \"" + name + "\"");
        }
        return counts[name].get<std::int64_t>();
    };
    ServerRoundTrips trips;
    trips.total = number("total");
    for (const std::string& name : roundTripKindNames()) {
        trips.kinds.push_back({name, number(name)});
    }
    trips.objectsMarshalled = number("objectsMarshalled");
    return trips;
}

}  // namespace tav::benchcom

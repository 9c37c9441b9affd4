#include "host/types/solid_edge_types.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "host/types/solid_edge_2026_listing.h"

namespace tav::hosttypes {
namespace {

std::vector<SolidEdgeInterface> readListing() {
    const auto* first = solidEdge2026Listing;
    const nlohmann::json listing =
        nlohmann::json::parse(first, first + sizeof solidEdge2026Listing, nullptr, false);
    if (listing.is_discarded() || !listing.contains("interfaces")) {
        throw std::runtime_error("the built-in listing of Solid Edge's interfaces is unreadable");
    }
    std::vector<SolidEdgeInterface> interfaces;
    for (const auto& [name, entry] : listing.at("interfaces").items()) {
        SolidEdgeInterface described;
        described.name = name;
        described.methods = entry.at("methods").get<int>();
        described.properties = entry.at("properties").get<int>();
        described.methodNames = entry.value("methodNames", std::vector<std::string>{});
        described.propertyNames = entry.value("propertyNames", std::vector<std::string>{});
        interfaces.push_back(std::move(described));
    }
    return interfaces;
}

}  // namespace

const std::vector<SolidEdgeInterface>& solidEdge2026() {
    static const std::vector<SolidEdgeInterface> interfaces = readListing();
    return interfaces;
}

const SolidEdgeInterface* solidEdge2026Interface(std::string_view name) {
    for (const SolidEdgeInterface& candidate : solidEdge2026()) {
        if (candidate.name == name) {
            return &candidate;
        }
    }
    return nullptr;
}

}  // namespace tav::hosttypes

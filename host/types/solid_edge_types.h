// The size of Solid Edge 2026's interfaces of the kinds the tool meets, from
// its public type library listing (solid-edge-2026.json, built into the
// program): how many methods and properties each declares, and the names
// the listing gives. No dispatch id is public. The simulated host declares
// as much when it plays a Solid Edge of real size.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav::hosttypes {

struct SolidEdgeInterface {
    std::string name;
    int methods = 0;
    int properties = 0;
    std::vector<std::string> methodNames;    // as many as the listing gives
    std::vector<std::string> propertyNames;  // (a property is one get function)
};

// Every interface of the listing. Raises std::runtime_error if the listing
// built into the program cannot be read (a build fault).
const std::vector<SolidEdgeInterface>& solidEdge2026();
// The interface of that name, or null.
const SolidEdgeInterface* solidEdge2026Interface(std::string_view name);

}  // namespace tav::hosttypes

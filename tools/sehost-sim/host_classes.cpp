#include "tools/sehost-sim/host_classes.h"

#include "host/com/guid.h"

namespace tav::sehost {
namespace {

// Types of classes without an interface id of the host's: this GUID with the
// class's position in Data1. {5E5E0000-6C61-4F2D-9B8A-7D1E4A3C2B10}
constexpr GUID ownClassTypes = {
    0x5e5e0000, 0x6c61, 0x4f2d, {0x9b, 0x8a, 0x7d, 0x1e, 0x4a, 0x3c, 0x2b, 0x10}};

}  // namespace

GUID typeIdOf(const sim::ObjectClass& objectClass) {
    if (objectClass.iid) {
        return com::toGuid(*objectClass.iid);
    }
    GUID id = ownClassTypes;
    const auto all = sim::allClasses();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == &objectClass) {
            id.Data1 += static_cast<unsigned long>(i);
        }
    }
    return id;
}

bool isHostInterface(REFIID iid) {
    for (const sim::ObjectClass* objectClass : sim::allClasses()) {
        if (objectClass->iid && IsEqualGUID(iid, com::toGuid(*objectClass->iid))) {
            return true;
        }
    }
    return false;
}

bool isOwnClassType(REFIID iid) {
    for (const sim::ObjectClass* objectClass : sim::allClasses()) {
        if (!objectClass->iid && IsEqualGUID(iid, typeIdOf(*objectClass))) {
            return true;
        }
    }
    return false;
}

}  // namespace tav::sehost

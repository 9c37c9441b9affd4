#include "tools/sehost-sim/host_classes.h"

#include "host/com/guid.h"

namespace tav::sehost {

bool isHostInterface(REFIID iid) {
    for (const sim::ObjectClass* objectClass : sim::allClasses()) {
        if (objectClass->iid && IsEqualGUID(iid, com::toGuid(*objectClass->iid))) {
            return true;
        }
    }
    return false;
}

bool isServedInterface(const sim::ServedLibrary& library, REFIID iid) {
    if (isHostInterface(iid)) {
        return true;
    }
    for (const sim::ServedType& type : library.types) {
        if (!type.enumeration && IsEqualGUID(iid, com::toGuid(type.guid))) {
            return true;
        }
    }
    return false;
}

}  // namespace tav::sehost

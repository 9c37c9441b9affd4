// The classes of the host's objects as the server describes them: one
// dispatch type per class in its type library (the interface id of the
// host's object table where the class has one, an id of the server's own
// where it has none), and the interfaces it answers to in QueryInterface.
#pragma once

#include <windows.h>

#include "host/sim/object_classes.h"

namespace tav::sehost {

// The id of the class's type in the type library.
GUID typeIdOf(const sim::ObjectClass& objectClass);

// Whether `iid` is one of the host's interfaces.
bool isHostInterface(REFIID iid);
// Whether `iid` is the type of a class that has no interface of the host's.
bool isOwnClassType(REFIID iid);

}  // namespace tav::sehost

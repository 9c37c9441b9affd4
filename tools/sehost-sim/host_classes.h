// The interfaces the server's objects are served as: the host's object
// table's interfaces, and the types of the served library (which are the
// table's ids where the class has one, and ids of the server's own where it
// has none, or where the library gives a class an interface of its own).
#pragma once

#include <windows.h>

#include "host/sim/served_library.h"

namespace tav::sehost {

// Whether `iid` is one of the host's interfaces of the object table.
bool isHostInterface(REFIID iid);
// Whether `iid` is one of the host's interfaces or a type of `library`.
bool isServedInterface(const sim::ServedLibrary& library, REFIID iid);

}  // namespace tav::sehost

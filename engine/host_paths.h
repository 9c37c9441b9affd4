// Short paths through the host's object model that several steps take.
#pragma once

#include "host/value.h"

namespace tav::engine {

// draft document → active sheet → its drawing views: two calls, each result
// cast to its interface.
host::ObjectRef activeSheetDrawingViews(const host::ObjectRef& draftDocument);

// A property that holds a collection, taken as the collection's interface.
host::ObjectRef collection(const host::ObjectRef& owner, host::DispId member,
                           const host::InterfaceId& iid);

// Item `position` of `items`, passed as a 16-bit index and taken as `iid`.
host::ObjectRef itemAt(const host::ObjectRef& items, std::int32_t position,
                       const host::InterfaceId& iid);

}  // namespace tav::engine

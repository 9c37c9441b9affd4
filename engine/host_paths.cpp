#include "engine/host_paths.h"

#include "host/conversions.h"

namespace tav::engine {

namespace dispatch = host::dispatch;

host::ObjectRef collection(const host::ObjectRef& owner, host::DispId member,
                           const host::InterfaceId& iid) {
    return host::toObject(owner.get(member)).as(iid);
}

host::ObjectRef activeSheetDrawingViews(const host::ObjectRef& draftDocument) {
    host::ObjectRef sheet =
        collection(draftDocument, dispatch::draftDocument::activeSheet, dispatch::sheet::iid);
    return collection(sheet, dispatch::sheet::drawingViews, dispatch::drawingViews::iid);
}

host::ObjectRef itemAt(const host::ObjectRef& items, std::int32_t position,
                       const host::InterfaceId& iid) {
    return host::toObject(items.item(static_cast<std::int16_t>(position))).as(iid);
}

}  // namespace tav::engine

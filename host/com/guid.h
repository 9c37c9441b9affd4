// Interface ids as Windows GUIDs. host::InterfaceId has the GUID's layout,
// field for field.
#pragma once

#include <windows.h>

#include "host/automation_ids.h"

namespace tav::com {

inline GUID toGuid(const host::InterfaceId& iid) {
    GUID guid{};
    guid.Data1 = iid.data1;
    guid.Data2 = iid.data2;
    guid.Data3 = iid.data3;
    for (std::size_t i = 0; i < iid.data4.size(); ++i) {
        guid.Data4[i] = iid.data4[i];
    }
    return guid;
}

inline host::InterfaceId fromGuid(const GUID& guid) {
    host::InterfaceId iid;
    iid.data1 = guid.Data1;
    iid.data2 = guid.Data2;
    iid.data3 = guid.Data3;
    for (std::size_t i = 0; i < iid.data4.size(); ++i) {
        iid.data4[i] = guid.Data4[i];
    }
    return iid;
}

}  // namespace tav::com

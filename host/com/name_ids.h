// Late-bound names and their dispatch ids. GetIDsOfNames is a round trip to
// the host of its own, so each name is looked up once per interface it is
// used on and the id kept for the rest of the program.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "host/automation_ids.h"
#include "host/com/busy_host.h"

namespace tav::com {

class NameIds {
  public:
    struct Found {
        DISPID id = DISPID_UNKNOWN;
        bool fromCache = false;
    };

    explicit NameIds(BusyRetryPolicy busy) : busy_(busy) {}

    // The id of `name` on an object taken as `iid`: the kept one, else looked
    // up on `object`. Raises AutomationError when the host does not know the name.
    Found find(IDispatch* object, const host::InterfaceId& iid, std::u16string_view name);
    // Looks the name up afresh (a kept id that the host no longer answers to).
    DISPID refresh(IDispatch* object, const host::InterfaceId& iid, std::u16string_view name);

  private:
    using Key = std::pair<std::string, std::u16string>;  // interface bytes, name
    static Key keyOf(const host::InterfaceId& iid, std::u16string_view name);
    DISPID lookUp(IDispatch* object, std::u16string_view name) const;

    BusyRetryPolicy busy_;
    std::map<Key, DISPID> ids_;
};

}  // namespace tav::com

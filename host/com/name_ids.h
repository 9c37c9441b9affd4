// Late-bound names and their dispatch ids.
//
// GetIDsOfNames is a round trip to the host of its own, so ids are kept. But
// an id belongs to the class of object it was looked up on: a host numbers
// the names each interface answers in that interface's own order, so "Type"
// on a drawing view may have the id of "DrawingViewType" on a dimension, and
// an id used on an object of another class reads another member, silently.
// So an id is kept for a class, and used only on objects known to be of it:
// - an object the tool has cast is of the interface it was cast to;
// - any other object is of the class its type information names: a host
//   hands out one type information per class, and the same one for every
//   object of the class (GetTypeInfo: one round trip per object, which the
//   names it then shares with its class pay back);
// - an object without type information keeps its own ids: one look-up per
//   name and object.
// A kept id that the object does not know (DISP_E_MEMBERNOTFOUND) is looked
// up once more on that object. If that gives another id, the class was not
// one after all: from then on its objects keep their own ids, so objects of
// two classes that alternate never make the host fail call after call.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/automation_ids.h"
#include "host/com/call_watch.h"

namespace tav::com {

// The ids one object keeps for itself, and the class it was found to be of.
struct ObjectNames {
    bool classKnown = false;
    std::optional<std::size_t> classIndex;  // none: the object keeps its own ids
    std::map<std::u16string, DISPID, std::less<>> ids;
};

class NameIds {
  public:
    struct Found {
        DISPID id = DISPID_UNKNOWN;
        bool kept = false;  // from an earlier look-up, not asked for just now
    };

    explicit NameIds(CallWatch& calls) : calls_(calls) {}

    // The id of `name` on `object`, which the tool holds as `iid` (IDispatch
    // when it was never cast). Raises AutomationError when the object does
    // not know the name (438).
    Found find(ObjectNames& own, IDispatch* object, const host::InterfaceId& iid,
               std::u16string_view name);
    // After the kept id `failed` was not known to the object: the id the
    // object gives now, or nothing when it gives the same one again.
    std::optional<DISPID> refresh(ObjectNames& own, IDispatch* object, std::u16string_view name,
                                  DISPID failed);

    // Round trips spent on names so far.
    std::int32_t lookups() const { return lookups_; }
    std::int32_t typeInfoRequests() const { return typeInfoRequests_; }
    // Gives back the type information kept to tell classes apart.
    void clear();

  private:
    struct ObjectClass {
        std::optional<host::InterfaceId> iid;
        Microsoft::WRL::ComPtr<IUnknown> typeInfo;  // its identity names the class
        bool shared = true;
        std::map<std::u16string, DISPID, std::less<>> ids;
    };

    std::optional<std::size_t> classOf(IDispatch* object, const host::InterfaceId& iid);
    std::size_t classOfInterface(const host::InterfaceId& iid);
    std::optional<std::size_t> classOfTypeInfo(IDispatch* object);
    DISPID lookUp(IDispatch* object, std::u16string_view name);

    CallWatch& calls_;
    std::vector<ObjectClass> classes_;
    std::int32_t lookups_ = 0;
    std::int32_t typeInfoRequests_ = 0;
};

}  // namespace tav::com

// What the tool learns of the classes of the host's objects, to spare round
// trips without ever calling the wrong member.
//
// Late-bound names: GetIDsOfNames is a round trip of its own, so ids are
// kept. But an id belongs to the class of object it was looked up on: a host
// numbers the names each interface answers in that interface's own order, so
// "Type" on a drawing view may have the id of "DrawingViewType" on a
// dimension, and an id used on an object of another class reads another
// member, silently. So an id is kept for a class, and used only on objects
// known to be of it:
// - an object cast with QueryInterface is of the interface it was cast to;
// - any other object is of the class its type information names: a host
//   hands out one type information per class, and the same one for every
//   object of the class (GetTypeInfo: one round trip per object, which the
//   names it then shares with its class pay back);
// - an object without type information keeps its own ids: one look-up per
//   name and object (and once one object has none, no other is asked).
// A kept id that the object does not know (DISP_E_MEMBERNOTFOUND) is looked
// up once more on that object. If that gives another id, the class was not
// one after all: from then on its objects keep their own ids, so objects of
// two classes that alternate never make the host fail call after call.
//
// Results: the type information of a class declares what its members
// return. An object that a member returns which declares a particular class
// is of that class, without asking the object (a host's member returns what
// its type library says it does); only members that may return any object
// (a select set's items, the active document) and late-bound names leave the
// object to tell its class itself. The declaration of each member is read
// once per class (a round trip for each function the type information
// describes, and one for each class a member returns) and kept.
//
// Casts: an object whose type information describes the very interface the
// tool casts it to is of that interface; the cast then needs no
// QueryInterface of its own, which would cost a round trip, and a second
// interface of the object to give back later (another round trip, where COM
// gives interfaces back one by one). An object whose type information names
// another interface is asked with QueryInterface; if it then turns out to
// have the interface after all, the host's type information does not name
// its interfaces, and casts go straight to QueryInterface from then on.
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

// What one object has learnt of itself: its class, once asked, and the ids
// it keeps for itself.
struct ObjectKnowledge {
    bool classAsked = false;
    std::optional<std::size_t> classIndex;  // none: the object keeps its own ids
    std::map<std::u16string, DISPID, std::less<>> ids;
};

class ClassesSeen {
  public:
    struct Found {
        DISPID id = DISPID_UNKNOWN;
        bool kept = false;  // from an earlier look-up, not asked for just now
    };

    explicit ClassesSeen(CallWatch& calls) : calls_(calls) {}

    // The id of `name` on `object`, which the tool holds as `iid` (IDispatch
    // when it was never cast). Raises AutomationError when the object does
    // not know the name (438).
    Found find(ObjectKnowledge& own, IDispatch* object, const host::InterfaceId& iid,
               std::u16string_view name);
    // After the kept id `failed` was not known to the object: the id the
    // object gives now, or nothing when it gives the same one again.
    std::optional<DISPID> refresh(ObjectKnowledge& own, IDispatch* object, std::u16string_view name,
                                  DISPID failed);

    // Whether `object` is of interface `iid` by its type information, so
    // that a cast needs no QueryInterface. False when that cannot be told.
    bool typeInfoShows(ObjectKnowledge& own, IDispatch* object, const host::InterfaceId& iid);
    // A QueryInterface for `iid` succeeded on `object`: if its type
    // information named another interface, casts stop asking it.
    void castSucceeded(const ObjectKnowledge& own, const host::InterfaceId& iid);
    // The class of an object just cast with QueryInterface to `iid`.
    void castTo(ObjectKnowledge& own, const host::InterfaceId& iid);
    // What `result`, just returned by `member` of an object `caller` knows
    // the class of, is of: the class the caller's type information declares
    // for it, when it declares one.
    void learnResult(const ObjectKnowledge& caller, DISPID member, bool method,
                     ObjectKnowledge& result);

    // Round trips spent on names and classes so far.
    std::int32_t lookups() const { return lookups_; }
    std::int32_t typeInfoRequests() const { return typeInfoRequests_; }
    // Gives back the type information kept to tell classes apart.
    void clear();

  private:
    struct ObjectClass {
        std::optional<host::InterfaceId> iid;  // the interface cast to
        Microsoft::WRL::ComPtr<ITypeInfo> typeInfo;
        Microsoft::WRL::ComPtr<IUnknown> identity;  // of the type information: names the class
        // What the type information describes, read once: its interface and
        // how many functions it has.
        bool attributesRead = false;
        std::optional<host::InterfaceId> described;
        UINT functions = 0;
        // What its members that return objects declare they return (nothing:
        // any object), read once.
        std::optional<std::map<std::pair<DISPID, INVOKEKIND>, std::optional<std::size_t>>>
            declarations;
        bool shared = true;
        std::map<std::u16string, DISPID, std::less<>> ids;
    };

    std::optional<std::size_t> classOf(ObjectKnowledge& own, IDispatch* object,
                                       const host::InterfaceId& iid);
    std::size_t classOfInterface(const host::InterfaceId& iid);
    std::optional<std::size_t> classOfTypeInfo(IDispatch* object);
    void readAttributes(ObjectClass& objectClass);
    std::optional<host::InterfaceId> describedBy(std::size_t index);
    void readDeclarations(std::size_t index);
    std::optional<std::size_t> classOfTypeInfoObject(Microsoft::WRL::ComPtr<ITypeInfo> info);
    std::optional<std::size_t> declaredResult(std::size_t caller, DISPID member, bool method);
    DISPID lookUp(IDispatch* object, std::u16string_view name);

    CallWatch& calls_;
    std::vector<ObjectClass> classes_;
    bool castsByTypeInfo_ = true;
    bool typeInfoGiven_ = true;
    std::int32_t lookups_ = 0;
    std::int32_t typeInfoRequests_ = 0;
};

}  // namespace tav::com

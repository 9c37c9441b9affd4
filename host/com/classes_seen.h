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
//   name and object (and once the host says it gives none, no other is asked;
//   a busy or failing host only leaves that one object without a class).
// A kept id that the object does not know (DISP_E_MEMBERNOTFOUND) is looked
// up once more on that object. If that gives another id, the class was not
// one after all: from then on its objects keep their own ids, so objects of
// two classes that alternate never make the host fail call after call.
//
// Declarations: the type information of a class declares each member's
// parameters and result. A host of Solid Edge's size declares some two
// hundred functions per interface, so a declaration is read only for a member
// the tool calls, once per class: its index by id (ITypeInfo2), then its
// description; where the type information has no ITypeInfo2, its name by id,
// then a bind by name (ITypeComp). Two things use them:
// - by-reference arguments go in the form their parameter declares
//   (dispatch_call.h);
// - an object a member returns that declares a particular class is of that
//   class, without asking the object. Only when the call's arguments are the
//   member's own, though: "Models"(1) is the Models collection's item, which
//   its default member declares, not the collection. Members that may return
//   any object (a select set's items, the active document) leave the object
//   to tell its class itself.
//
// Casts: an object whose type information describes the very interface the
// tool casts it to is of that interface; the cast then needs no
// QueryInterface of its own, which would cost a round trip, and a second
// interface of the object to give back later (another round trip, where COM
// gives interfaces back one by one). An object whose type information names
// another interface is asked with QueryInterface; if it then turns out to
// have the interface after all, the host's type information does not name
// its interfaces, and casts go straight to QueryInterface from then on. And
// one whose QueryInterface refuses an id that is a class id of the host's
// rather than an interface id is still of that kind when its type
// information names the interface ("DraftDocument").
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/automation_ids.h"
#include "host/com/call_watch.h"
#include "host/com/type_descriptions.h"
#include "host/value.h"

namespace tav::com {

// What one object has learnt of itself: its class, once asked, and the ids
// it keeps for itself.
struct ObjectKnowledge {
    bool classAsked = false;
    std::optional<std::size_t> classIndex;  // none: the object keeps its own ids
    std::map<std::u16string, DISPID, std::less<>> ids;
};

// The forms by-reference arguments take, from the member's declaration: for
// each parameter declared as a pointer to a value (not an object), the
// VARIANT type that value goes in (VT_VARIANT, VT_ARRAY | element, or a
// scalar type); nothing where the argument keeps its own type.
using ArgumentForms = std::vector<std::optional<VARTYPE>>;

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
    // Whether `object`'s type information names the interface `name`: the
    // kind of object the tool casts to, where QueryInterface refused the id.
    bool typeInfoNames(ObjectKnowledge& own, IDispatch* object, std::u16string_view name);
    // A QueryInterface for `iid` succeeded on `object`: if its type
    // information named another interface, casts stop asking it.
    void castSucceeded(const ObjectKnowledge& own, const host::InterfaceId& iid);
    // The class of an object just cast with QueryInterface to `iid`.
    void castTo(ObjectKnowledge& own, const host::InterfaceId& iid);

    // The forms `member`'s by-reference arguments take on `object` (held as
    // `iid`), as its class declares them; empty when nothing is declared.
    ArgumentForms argumentForms(ObjectKnowledge& own, IDispatch* object,
                                const host::InterfaceId& iid, DISPID member, host::CallKind kind,
                                std::size_t argumentCount);
    // What `result`, just returned by `member` called with `argumentCount`
    // arguments on an object `caller` knows the class of, is of: the class
    // the caller's type information declares for it, when it declares one.
    void learnResult(const ObjectKnowledge& caller, DISPID member, host::CallKind kind,
                     std::size_t argumentCount, ObjectKnowledge& result);

    // Round trips spent on names and classes so far.
    std::int32_t lookups() const { return lookups_; }
    std::int32_t typeInfoRequests() const { return typeInfoRequests_; }
    // Gives back the type information kept to tell classes apart.
    void clear();

  private:
    // One member's declaration, as far as the tool uses it.
    struct Declaration {
        bool found = false;
        SHORT parameters = 0;
        SHORT optionalParameters = 0;
        ArgumentForms forms;
        // The class its result is declared to be of (none: any object, or
        // not an object), named in `returnedFrom`; read when first needed.
        std::optional<HREFTYPE> returnedType;
        Microsoft::WRL::ComPtr<ITypeInfo> returnedFrom;
        bool returnedClassRead = false;
        std::optional<std::size_t> returnedClass;
    };

    struct ObjectClass {
        std::optional<host::InterfaceId> iid;  // the interface cast to
        Microsoft::WRL::ComPtr<ITypeInfo> typeInfo;
        Microsoft::WRL::ComPtr<IUnknown> identity;  // of the type information: names the class
        // What the type information describes, read once: its interface.
        bool attributesRead = false;
        std::optional<host::InterfaceId> described;
        // Its name, read once, when a cast needs it.
        std::optional<std::u16string> name;
        // How declarations are read: by index (ITypeInfo2), or by name
        // (ITypeComp), asked once. Where an index does not lead to the
        // function it was given for, IUnknown's and IDispatch's seven are
        // counted before it (Wine's type information does that); where that
        // does not help either, by name.
        bool lookupAsked = false;
        Microsoft::WRL::ComPtr<ITypeInfo2> byIndex;
        std::optional<UINT> indexShift;
        Microsoft::WRL::ComPtr<ITypeComp> byName;
        // The declarations read so far, by member and invoke kind.
        std::map<std::pair<DISPID, INVOKEKIND>, Declaration> declarations;
        bool shared = true;
        std::map<std::u16string, DISPID, std::less<>> ids;
    };

    std::optional<std::size_t> classOf(ObjectKnowledge& own, IDispatch* object,
                                       const host::InterfaceId& iid);
    std::size_t classOfInterface(const host::InterfaceId& iid);
    std::optional<std::size_t> classOfTypeInfo(IDispatch* object);
    std::optional<std::size_t> classOfTypeInfoObject(Microsoft::WRL::ComPtr<ITypeInfo> info);
    void readAttributes(ObjectClass& objectClass);
    std::optional<host::InterfaceId> describedBy(std::size_t index);
    // The declaration of `member` as `invokeKind`, read when first asked.
    Declaration& declaration(std::size_t index, DISPID member, INVOKEKIND invokeKind);
    Declaration readDeclaration(ObjectClass& objectClass, DISPID member, INVOKEKIND invokeKind);
    // The description of `member` as `invokeKind` by its index, or none.
    UniqueFuncDesc describedByIndex(ObjectClass& objectClass, DISPID member, INVOKEKIND invokeKind);
    // The same by its name.
    UniqueFuncDesc describedByName(ObjectClass& objectClass, DISPID member, INVOKEKIND invokeKind);
    // Asks once for a way to read declarations by name.
    bool canBindNames(ObjectClass& objectClass);
    // The declaration a call of `kind` with `argumentCount` arguments uses:
    // a get with arguments is most likely a method (an item), one without a
    // property; the other is tried when the first is not declared.
    Declaration* declarationFor(std::size_t index, DISPID member, host::CallKind kind,
                                std::size_t argumentCount);
    std::optional<std::size_t> returnedClass(Declaration& declaration);
    DISPID lookUp(IDispatch* object, std::u16string_view name);

    CallWatch& calls_;
    // A deque: declarations found are referred to while more classes come.
    std::deque<ObjectClass> classes_;
    bool castsByTypeInfo_ = true;
    bool typeInfoGiven_ = true;
    std::int32_t lookups_ = 0;
    std::int32_t typeInfoRequests_ = 0;
};

}  // namespace tav::com

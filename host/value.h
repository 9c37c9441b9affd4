// Automation values and object references, as the tool passes them to the
// host and receives them back.
//
// A `Value` holds one of the automation types the tool uses. An `ObjectRef`
// is a counted reference to a host object: the host hands out one reference
// with every object it returns (and with every successful cast); the
// reference is given back when the last copy of the `ObjectRef` goes away or
// is reset. An empty `ObjectRef` is the automation "Nothing": every call on it
// fails inside the tool (run-time error 91) without reaching the host.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/automation_ids.h"

namespace tav::host {

class HostObject;
class Value;
struct Argument;
struct MemberName;
enum class CallKind;

class ObjectRef {
  public:
    ObjectRef() = default;
    explicit ObjectRef(std::shared_ptr<HostObject> object) : object_(std::move(object)) {}

    explicit operator bool() const { return object_ != nullptr; }
    bool empty() const { return object_ == nullptr; }
    // Gives the reference back to the host; the ref is empty afterwards.
    void reset() { object_.reset(); }
    // The backend object behind this reference when it is a `Backend`, else
    // null. Lets a backend recognise its own objects when the tool passes
    // them back as arguments; the engine never needs it.
    template <class Backend>
    Backend* backendObject() const {
        return dynamic_cast<Backend*>(object_.get());
    }

    // Property get, by dispatch id or by name, with optional arguments.
    Value get(DispId member) const;
    Value get(DispId member, std::span<Argument> args) const;
    Value get(std::u16string_view name) const;
    Value get(std::u16string_view name, std::span<Argument> args) const;
    // Property put of one value, by value or by reference.
    void put(DispId member, Value value) const;
    void put(DispId member, Argument argument) const;
    // Property put by name.
    void put(std::u16string_view name, Value value) const;
    // Method call. By-reference arguments may come back changed.
    Value call(DispId member, std::span<Argument> args) const;
    Value call(std::u16string_view name, std::span<Argument> args) const;
    // Any of the above, as the member and kind say: for objects that pass
    // calls on to another.
    Value invoke(const MemberName& member, CallKind kind, std::span<Argument> args) const;
    // The default member with one argument: an item of a collection.
    Value item(Value index) const;

    // The same object taken as another of its interfaces (a new reference).
    // An empty reference stays empty; an object that does not implement the
    // interface raises "Type mismatch", as assigning it to a typed variable would.
    ObjectRef as(const InterfaceId& iid) const;
    // The same, but an object that does not implement the interface gives an
    // empty reference instead of an error.
    ObjectRef tryAs(const InterfaceId& iid) const;

  private:
    HostObject* object() const { return object_.get(); }

    std::shared_ptr<HostObject> object_;
};

// A one-dimensional array of doubles, as the host passes it by reference.
// `items[0]` is the element at index `lowerBound` (the host's arrays start at
// 1); the COM backend keeps the bound when it builds or reads a SAFEARRAY.
struct DoubleArray {
    std::vector<double> items;
    std::int32_t lowerBound = 1;
};

// A `Value` holds only the automation types the tool uses. A host reached
// over COM may answer with other VARIANT types; the COM backend converts them
// at its edge, never above it: other integer widths become the 16- or 32-bit
// integer (or double) that holds them exactly, currency, decimal and date
// become double, a null dispatch pointer is an empty reference, and a type
// with no counterpart here (VT_NULL, VT_ERROR, arrays other than one
// dimension of doubles, ...) raises "Type mismatch", as assigning it to a
// typed variable would.
class Value {
  public:
    struct Empty {
        bool operator==(const Empty&) const = default;
    };
    using Storage = std::variant<Empty, bool, std::int16_t, std::int32_t, float, double,
                                 std::u16string, ObjectRef, DoubleArray>;

    Value() = default;
    Value(bool b) : storage_(b) {}
    Value(std::int16_t i) : storage_(i) {}
    Value(std::int32_t i) : storage_(i) {}
    Value(float f) : storage_(f) {}
    Value(double d) : storage_(d) {}
    Value(std::u16string s) : storage_(std::move(s)) {}
    Value(const char16_t* s) : storage_(std::u16string(s)) {}
    Value(ObjectRef ref) : storage_(std::move(ref)) {}
    Value(DoubleArray array) : storage_(std::move(array)) {}

    const Storage& storage() const { return storage_; }

    bool isEmpty() const { return std::holds_alternative<Empty>(storage_); }
    template <class T>
    bool holds() const {
        return std::holds_alternative<T>(storage_);
    }
    template <class T>
    const T* getIf() const {
        return std::get_if<T>(&storage_);
    }
    template <class T>
    T* getIf() {
        return std::get_if<T>(&storage_);
    }

  private:
    Storage storage_;
};

struct Argument {
    Value value;
    bool byReference = false;
};

inline Argument byValue(Value v) {
    return {std::move(v), false};
}
inline Argument byReference(Value v) {
    return {std::move(v), true};
}

// How a member is addressed: by dispatch id, or by name (late bound).
struct MemberName {
    DispId id = 0;
    std::u16string_view name;  // empty: address by `id`
    bool byName() const { return !name.empty(); }
};

enum class CallKind { get, put, method };

// One object of the host. The COM client wraps an IDispatch; the simulated
// host answers from its scene.
class HostObject {
  public:
    virtual ~HostObject() = default;
    // One host call. Raises AutomationError on failure. By-reference
    // arguments may be written back.
    virtual Value invoke(const MemberName& member, CallKind kind, std::span<Argument> args) = 0;
    // A new reference to this object as `iid`, or an empty one when the
    // object does not implement it. Not a host call.
    virtual ObjectRef queryInterface(const InterfaceId& iid) = 0;
};

}  // namespace tav::host

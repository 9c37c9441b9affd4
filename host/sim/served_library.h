// How the simulated host describes itself when it is served over COM: the
// type library the server builds (its types, each with the functions it
// declares) and, for each class of the host's objects, the type it hands out,
// the names GetIDsOfNames answers, what an Invoke of each id calls on the
// simulated host, whether QueryInterface answers the object table's id, and
// the argument forms the colour query insists on.
//
// Three libraries, after the scene's `com` key:
// - small: each type declares the members of the object table that return
//   objects (and the colour query where it insists on its declared forms);
// - Solid Edge's size: each type declares as many methods and properties as
//   Solid Edge 2026's interface of its kind (host/types/solid_edge_types.h;
//   a property is one get function), with the listing's names and names of
//   the server's own for the rest, after the seven functions of IUnknown and
//   IDispatch that every dispatch interface inherits; the object table's ids
//   keep their numbers;
// - what a probe's report describes (host/types/probe_report.h): a real
//   Solid Edge's types, ids, declarations and answers, replayed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/sim/object_classes.h"
#include "host/sim/scene.h"
#include "host/types/probe_report.h"
#include "host/value.h"

namespace tav::sim {

struct ServedType {
    std::u16string name;
    host::InterfaceId guid;
    // A type a declaration names that describes no object (an enumeration).
    bool enumeration = false;
    std::vector<hosttypes::DeclaredFunction> functions;  // in the order declared
    int variables = 0;
};

struct ServedClass {
    // The type GetTypeInfo gives; none: GetTypeInfo fails with
    // `typeInfoFailure` (an HRESULT).
    std::optional<std::size_t> type;
    std::int32_t typeInfoFailure = 0;
    bool answersTableId = true;
    // GetIDsOfNames, letter case ignored.
    std::vector<std::pair<std::u16string, host::DispId>> names;
    // Ids that call a late-bound member of the simulated host.
    std::map<host::DispId, std::u16string_view> lateBound;
    // Ids the class answers with "member not found" (a declared function no
    // member of the simulated host stands behind); any id from the server's
    // own range that is not late-bound is one too.
    std::set<host::DispId> unserved;
    // The forms the colour query takes, each as its six parameters are
    // declared; empty: any form.
    std::vector<std::vector<hosttypes::DeclaredType>> colorQueryForms;
};

struct ServedLibrary {
    std::vector<ServedType> types;
    std::map<const ObjectClass*, ServedClass> classes;
    // The element type of the arrays the colour query writes into an
    // argument declared VARIANT* (an automation type number).
    std::uint16_t arrayElement = hosttypes::vt::float64;

    const ServedClass& servedClass(const ObjectClass& objectClass) const;
    // The id of `name` on objects of the class, or nothing.
    std::optional<host::DispId> idOf(const ObjectClass& objectClass,
                                     std::u16string_view name) const;
    // What an Invoke of `id` calls on the simulated host; nothing: the class
    // has no such member (DISP_E_MEMBERNOTFOUND, not a host call).
    std::optional<host::MemberName> memberOf(const ObjectClass& objectClass, host::DispId id) const;
};

// Ids the server gives names and functions of its own: far above every id of
// the host's object table.
inline constexpr host::DispId firstOwnId = 0x40000000;
inline constexpr host::DispId lastOwnId = firstOwnId + 0xFFFF;

// The library the scene's `com` key asks for (small or Solid Edge's size).
ServedLibrary servedLibrary(const ComStrictness& strictness);
// The library a probe's report describes; the kinds it does not describe
// keep the small library's types. Raises std::runtime_error for a report
// whose declarations cannot be served (an id that is no GUID).
ServedLibrary reportedLibrary(const ComStrictness& strictness,
                              const hosttypes::ProbeReport& report);

// The report kind of a class ("drawing view"), or empty for a class of no kind.
std::string_view kindOfClass(const ObjectClass& objectClass);

}  // namespace tav::sim

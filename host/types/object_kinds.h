// The kinds of host object the tool meets, and every member it uses on each:
// by dispatch id or by late-bound name, and how it calls it. For each, also
// what a type library of Solid Edge's size plausibly declares for it: the
// interface's name, the member's name (where Solid Edge publishes one) and its
// parameter and result types. No dispatch id and not every declaration is
// public: the probe reads what a real Solid Edge declares, and the simulated
// host declares these when it plays one of Solid Edge's size.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "host/automation_ids.h"

namespace tav::hosttypes {

// How the tool calls a member.
enum class Use {
    get,        // a property read (the probe reads it too)
    put,        // a property write, never made by the probe
    getAndPut,  // read by the probe, written by the tool
    method,     // a method that changes the document, never called by the probe
    query,      // a method that only reads (the colour query), called by the probe
    item,       // a get with an index: a collection's item
};

struct ToolMember {
    host::DispId id = 0;       // when called by dispatch id
    std::u16string_view name;  // when called by late-bound name
    Use use = Use::get;
    // What a Solid Edge-sized library declares: the name (none published:
    // empty, and the simulated host names it itself), whether it is a method
    // rather than a property, its result and its parameters, as text
    // (declared_type.h).
    std::string_view declaredName;
    bool declaredAsMethod = false;
    std::string_view returns;
    std::span<const std::string_view> parameters = {};

    bool byName() const { return !name.empty(); }
};

struct ObjectKind {
    std::string_view kind;                 // the name the report uses: "drawing view"
    std::string_view interfaceName;        // Solid Edge's interface of this kind: "DrawingView"
    std::optional<host::InterfaceId> iid;  // the id the tool casts to, where it casts
    std::span<const ToolMember> members;
};

// Every kind, in the order the tool meets them.
std::span<const ObjectKind> objectKinds();
const ObjectKind* kindNamed(std::string_view kind);

// The colour query of a sub-occurrence, and its six by-reference arguments:
// four arrays of three numbers, then two numbers.
inline constexpr std::string_view colorQueryKind = "sub-occurrence";
inline constexpr int colorQueryArrays = 4;
inline constexpr int colorQueryArguments = 6;

}  // namespace tav::hosttypes

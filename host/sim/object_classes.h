// The classes of the simulated host's objects, as a host's type information
// describes them: a name, the interface id of the host's object table where
// the class has one, the late-bound names its objects answer, in the order
// the class numbers them, and its members that return objects, with the
// class each returns. A strict host numbers each class's names on
// their own, so the same name may have a different number on another class:
// "Type" and "DrawingViewType" come in opposite orders on a drawing view and
// on any other selected object, and the first name of every class shares its
// number with the first of the others.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "host/automation_ids.h"

namespace tav::sim {

struct ObjectClass;

// A member that returns an object, as the class's type information declares
// it: the class of the object it returns, or none for a member that may
// return objects of any class (a select set's items, the active document).
// A late-bound name is declared under the id the host gives the name.
struct ObjectMember {
    host::DispId id;
    const ObjectClass* returns;
    bool method = false;            // a method (creation) rather than a property or item
    std::u16string_view name = {};  // a late-bound name, whose id the host gives
    int parameters = -1;            // how many it takes; -1: as its kind implies
};

struct ObjectClass {
    std::u16string_view name;
    std::optional<host::InterfaceId> iid;
    std::span<const std::u16string_view> lateBoundNames;
    std::span<const ObjectMember> objectMembers;
};

namespace classes {
extern const ObjectClass application;
extern const ObjectClass documents;
extern const ObjectClass draftDocument;
extern const ObjectClass assemblyDocument;
extern const ObjectClass partDocument;
extern const ObjectClass sections;
extern const ObjectClass section;
extern const ObjectClass sectionSheets;
extern const ObjectClass sheets;
extern const ObjectClass sheet;
extern const ObjectClass drawingViews;
extern const ObjectClass selectSet;
extern const ObjectClass selectedObject;
extern const ObjectClass drawingView;
extern const ObjectClass modelReference;
extern const ObjectClass modelMembers;
extern const ObjectClass modelMember;
extern const ObjectClass lineStyles;
extern const ObjectClass lineStyle;
extern const ObjectClass occurrences;
extern const ObjectClass occurrence;
extern const ObjectClass occurrenceStyle;
extern const ObjectClass model;
extern const ObjectClass body;
extern const ObjectClass faceStyle;
extern const ObjectClass subOccurrences;
extern const ObjectClass subOccurrence;
}  // namespace classes

// Every class above, each once.
std::span<const ObjectClass* const> allClasses();

}  // namespace tav::sim

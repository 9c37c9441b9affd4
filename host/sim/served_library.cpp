#include "host/sim/served_library.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "host/ascii_case.h"
#include "host/sim/member_names.h"
#include "host/types/guid_text.h"
#include "host/types/object_kinds.h"
#include "host/types/solid_edge_types.h"

namespace tav::sim {
namespace {

namespace ids = host::dispatch;
namespace vt = hosttypes::vt;
using hosttypes::DeclaredFunction;
using hosttypes::DeclaredType;
using hosttypes::InvokeKind;
using hosttypes::ObjectKind;
using hosttypes::ToolMember;
using hosttypes::Use;

// Every late-bound name of the host, in the order of the shared numbering
// (names added later come last, so that the earlier ones keep their ids).
constexpr std::array<std::u16string_view, 26> knownNames{
    ids::draftDocument::selectSetName,
    ids::selectSet::typeName,
    ids::selectSet::drawingViewTypeName,
    ids::occurrence::diffuseRedName,
    ids::occurrence::diffuseGreenName,
    ids::occurrence::diffuseBlueName,
    ids::occurrence::modelsName,
    ids::occurrence::bodyName,
    names::application::documents,
    names::application::displayAlerts,
    names::application::doIdle,
    names::collection::count,
    names::collection::item,
    names::documents::open,
    names::document::fullName,
    names::document::readOnly,
    names::document::save,
    names::document::close,
    names::draft::sections,
    names::draft::sheets,
    names::sections::workingSection,
    names::sections::backgroundSection,
    names::sheet::name,
    names::sheet::drawingViews,
    names::lineStyle::parent,
    names::lineStyles::remove,
};

// Classes of no kind the tool's window meets, with the Solid Edge interface
// a library of Solid Edge's size declares for them.
const std::array<std::pair<const ObjectClass*, std::string_view>, 5> namedOnlyClasses{{
    {&classes::documents, "Documents"},
    {&classes::sections, "Sections"},
    {&classes::section, "Section"},
    {&classes::sectionSheets, "SectionSheets"},
    {&classes::sheets, "Sheets"},
}};

// The members called by name that take one argument: an index, a file
// name, whether to save, a style name.
bool takesOneArgument(std::u16string_view name) {
    return name == names::collection::item || name == names::documents::open ||
           name == names::document::close || name == names::lineStyles::remove;
}

// The kind of object each class is (a non-view selected item is of none).
const std::array<std::pair<const ObjectClass*, std::string_view>, 21> classKinds{{
    {&classes::application, "application"},
    {&classes::draftDocument, "draft"},
    {&classes::assemblyDocument, "assembly"},
    {&classes::partDocument, "part document"},
    {&classes::sheet, "sheet"},
    {&classes::drawingViews, "drawing views"},
    {&classes::selectSet, "select set"},
    {&classes::drawingView, "drawing view"},
    {&classes::modelReference, "model link"},
    {&classes::modelMembers, "model members"},
    {&classes::modelMember, "model member"},
    {&classes::lineStyles, "line styles"},
    {&classes::lineStyle, "line style"},
    {&classes::occurrences, "occurrences"},
    {&classes::occurrence, "occurrence"},
    {&classes::occurrenceStyle, "occurrence style"},
    {&classes::model, "model"},
    {&classes::body, "body"},
    {&classes::faceStyle, "face style"},
    {&classes::subOccurrences, "sub-occurrences"},
    {&classes::subOccurrence, "sub-occurrence"},
}};

// Types of the server's own: this id with a number of their own in its
// first field. {5E5E0000-6C61-4F2D-9B8A-7D1E4A3C2B10}
constexpr host::InterfaceId ownTypes =
    host::InterfaceId::parse("5E5E0000-6C61-4F2D-9B8A-7D1E4A3C2B10");
// The numbers: a class's position, then the interfaces that take the place
// of the table's ids when those are class ids, then Solid Edge-sized types
// without an id of the table, then types a report names but does not describe.
constexpr std::uint32_t separateInterfaces = 0x100;
constexpr std::uint32_t sizedTypes = 0x200;
constexpr std::uint32_t namedOnlyTypes = 0x300;

host::InterfaceId ownTypeId(std::uint32_t number) {
    host::InterfaceId id = ownTypes;
    id.data1 += number;
    return id;
}

// The classes whose table ids public material gives as class ids.
bool isClassIdKind(std::string_view kind) {
    return kind == "application" || kind == "draft" || kind == "assembly";
}

std::u16string wide(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::string narrow(std::u16string_view ascii) {
    std::string text;
    for (char16_t c : ascii) {
        text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
}

DeclaredType declared(std::string_view text) {
    const std::optional<DeclaredType> type = hosttypes::parseDeclaredType(text);
    if (!type) {
        throw std::logic_error("no declared type: " + std::string(text));
    }
    return *type;
}

std::vector<DeclaredType> declaredAll(std::span<const std::string_view> texts) {
    std::vector<DeclaredType> types;
    for (std::string_view text : texts) {
        types.push_back(declared(text));
    }
    return types;
}

std::uint16_t arrayElementOf(ComStrictness::Arrays arrays) {
    switch (arrays) {
        case ComStrictness::Arrays::r4:
            return vt::float32;
        case ComStrictness::Arrays::variant:
            return vt::variant;
        case ComStrictness::Arrays::r8:
            break;
    }
    return vt::float64;
}

// The colour query as a host declares it whose Invoke follows its type
// information: six VARIANT* parameters.
std::vector<DeclaredType> colorQueryAsVariants() {
    return std::vector<DeclaredType>(hosttypes::colorQueryArguments,
                                     hosttypes::declaredBase(vt::variant, 1));
}

DeclaredFunction function(host::DispId id, std::string name, InvokeKind kind,
                          std::vector<DeclaredType> parameters, DeclaredType returns) {
    DeclaredFunction made;
    made.id = id;
    made.name = std::move(name);
    made.kind = kind;
    made.parameters = std::move(parameters);
    made.returns = std::move(returns);
    return made;
}

const DeclaredFunction* functionNamed(const ServedType& type, std::string_view name) {
    for (const DeclaredFunction& candidate : type.functions) {
        if (candidate.name == name) {
            return &candidate;
        }
    }
    return nullptr;
}

bool declaresId(const ServedType& type, host::DispId id) {
    return std::any_of(type.functions.begin(), type.functions.end(),
                       [id](const DeclaredFunction& f) { return f.id == id; });
}

std::optional<host::DispId> idIn(const ServedClass& served, std::u16string_view name) {
    for (const auto& [known, id] : served.names) {
        if (host::equalsIgnoringAsciiCase(known, name)) {
            return id;
        }
    }
    return std::nullopt;
}

bool isTableMember(const ObjectKind& kind, host::DispId id) {
    return std::any_of(kind.members.begin(), kind.members.end(),
                       [id](const ToolMember& m) { return !m.byName() && m.id == id; });
}

// Every declared id that no member of the simulated host stands behind is
// "member not found" on objects of the kind.
void markUnserved(ServedClass& served, const ServedType& type, const ObjectKind& kind) {
    for (const DeclaredFunction& declaredFunction : type.functions) {
        if (!isTableMember(kind, declaredFunction.id) &&
            served.lateBound.count(declaredFunction.id) == 0) {
            served.unserved.insert(declaredFunction.id);
        }
    }
}

// --- The small library ------------------------------------------------------

ServedLibrary smallLibrary(const ComStrictness& strictness) {
    ServedLibrary library;
    library.arrayElement = arrayElementOf(strictness.arrays);
    const auto all = allClasses();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ObjectClass& objectClass = *all[i];
        ServedType type;
        type.name = std::u16string(objectClass.name);
        const bool separate = strictness.classIds == ComStrictness::ClassIds::separate &&
                              isClassIdKind(kindOfClass(objectClass));
        if (objectClass.iid && !separate) {
            type.guid = *objectClass.iid;
        } else {
            type.guid =
                ownTypeId((separate ? separateInterfaces : 0) + static_cast<std::uint32_t>(i));
        }

        ServedClass served;
        served.type = i;
        served.answersTableId = !separate;
        // A lenient host gives every name an id, but only the class's own
        // members answer; a strict one numbers each class's names its own way.
        const std::span<const std::u16string_view> numbered =
            strictness.names == ComStrictness::Names::perInterface
                ? objectClass.lateBoundNames
                : std::span<const std::u16string_view>(knownNames);
        for (std::size_t k = 0; k < numbered.size(); ++k) {
            const host::DispId id = firstOwnId + static_cast<host::DispId>(k);
            served.names.emplace_back(std::u16string(numbered[k]), id);
            for (std::u16string_view own : objectClass.lateBoundNames) {
                if (own == numbered[k]) {
                    served.lateBound[id] = own;
                }
            }
        }
        for (const ObjectMember& member : objectClass.objectMembers) {
            const bool takesIndex = (member.name.empty() && member.id == ids::defaultMember) ||
                                    member.name == ids::occurrence::modelsName;
            const std::size_t parameterCount = member.parameters >= 0
                                                   ? static_cast<std::size_t>(member.parameters)
                                                   : (member.method ? 2 : (takesIndex ? 1 : 0));
            type.functions.push_back(function(
                member.name.empty() ? member.id : *idIn(served, member.name),
                member.name.empty() ? "Member" + std::to_string(member.id) : narrow(member.name),
                member.method ? InvokeKind::method : InvokeKind::get,
                std::vector<DeclaredType>(parameterCount, hosttypes::declaredBase(vt::variant)),
                member.returns != nullptr
                    ? hosttypes::declaredInterface(narrow(member.returns->name))
                    : hosttypes::declaredBase(vt::dispatch)));
        }
        if (&objectClass == &classes::subOccurrence &&
            strictness.byRef == ComStrictness::ByRef::declared) {
            type.functions.push_back(function(ids::subOccurrence::displayColors, "GetMaterial",
                                              InvokeKind::method, colorQueryAsVariants(),
                                              hosttypes::declaredBase(vt::none)));
            served.colorQueryForms = {colorQueryAsVariants()};
        }
        library.types.push_back(std::move(type));
        library.classes[&objectClass] = std::move(served);
    }
    return library;
}

// The classes `library` does not describe keep their small types: after
// the described ones, unless a described type has the same id (that type
// serves them then), and renamed where a described type has the name.
void keepSmallTypes(ServedLibrary& library, const ServedLibrary& small) {
    for (const auto& [objectClass, smallClass] : small.classes) {
        if (library.classes.count(objectClass) != 0) {
            continue;
        }
        ServedClass served = smallClass;
        ServedType type = small.types[*smallClass.type];
        const auto sameId = std::find_if(library.types.begin(), library.types.end(),
                                         [&](const ServedType& t) { return t.guid == type.guid; });
        if (sameId != library.types.end()) {
            served.type = static_cast<std::size_t>(sameId - library.types.begin());
        } else {
            while (std::any_of(library.types.begin(), library.types.end(),
                               [&](const ServedType& t) { return t.name == type.name; })) {
                type.name += u"Sim";
            }
            served.type = library.types.size();
            library.types.push_back(std::move(type));
        }
        library.classes[objectClass] = std::move(served);
    }
}

// --- Solid Edge's size ------------------------------------------------------

class SizedTypeBuilder {
  public:
    SizedTypeBuilder(const ComStrictness& strictness, std::string_view interfaceName)
        : strictness_(strictness), listing_(hosttypes::solidEdge2026Interface(interfaceName)) {
        // The seven functions of IUnknown and IDispatch come first in every
        // dispatch interface; the type library declares them by inheriting
        // IDispatch, not here.
        type_.name = wide(interfaceName);
    }

    // The members of one kind of this interface that the object table calls
    // by id: their ids keep their numbers.
    void declareTableMembers(const ObjectKind& kind) {
        for (const ToolMember& member : kind.members) {
            if (!member.byName() && member.use != Use::put) {
                declare(member, member.id);
            }
        }
    }

    // The late-bound members: an id of the server's own, or the id of a
    // function of the same name already declared.
    void declareLateBoundMembers(const ObjectKind& kind) {
        for (const ToolMember& member : kind.members) {
            if (member.byName() && functionNamed(type_, nameOf(member)) == nullptr) {
                declare(member, nextOwnId_++);
            }
        }
    }

    // Names the simulated host answers beyond the kinds' members (a file's
    // Save, a sheet's Name): a method where the listing has it as one.
    void declareNames(std::span<const std::u16string_view> names) {
        for (std::u16string_view wideName : names) {
            const std::string name = narrow(wideName);
            if (functionNamed(type_, name) != nullptr) {
                continue;
            }
            const bool method =
                listing_ != nullptr &&
                std::find(listing_->methodNames.begin(), listing_->methodNames.end(), name) !=
                    listing_->methodNames.end();
            std::vector<DeclaredType> parameters;
            if (takesOneArgument(wideName)) {
                parameters.push_back(hosttypes::declaredBase(vt::variant));
            }
            type_.functions.push_back(
                function(nextOwnId_++, name, method ? InvokeKind::method : InvokeKind::get,
                         std::move(parameters), hosttypes::declaredBase(vt::variant)));
            ++(method ? methodsDeclared_ : propertiesDeclared_);
        }
    }

    // Up to the listing's counts: its names first, then names of our own.
    ServedType finish(host::InterfaceId guid) {
        type_.guid = guid;
        const int methods = listing_ != nullptr ? listing_->methods : 0;
        const int properties = listing_ != nullptr ? listing_->properties : 0;
        pad(methods, methodsDeclared_, InvokeKind::method,
            listing_ != nullptr ? listing_->methodNames : std::vector<std::string>{}, "Method");
        pad(properties, propertiesDeclared_, InvokeKind::get,
            listing_ != nullptr ? listing_->propertyNames : std::vector<std::string>{}, "Property");
        return std::move(type_);
    }

    static std::string nameOf(const ToolMember& member) {
        if (!member.declaredName.empty()) {
            return std::string(member.declaredName);
        }
        // No name published: one of the server's own.
        return "Sim" + std::to_string(member.id);
    }

  private:
    void declare(const ToolMember& member, host::DispId id) {
        const std::string name = nameOf(member);
        if (functionNamed(type_, name) != nullptr) {
            return;  // declared by another kind of this interface
        }
        std::vector<DeclaredType> parameters = declaredAll(member.parameters);
        if (member.use == Use::query && strictness_.byRef == ComStrictness::ByRef::declared) {
            parameters = colorQueryAsVariants();
        }
        type_.functions.push_back(
            function(id, name, member.declaredAsMethod ? InvokeKind::method : InvokeKind::get,
                     std::move(parameters), declared(member.returns)));
        ++(member.declaredAsMethod ? methodsDeclared_ : propertiesDeclared_);
    }

    void pad(int wanted, int declaredSoFar, InvokeKind kind, const std::vector<std::string>& names,
             const char* ownPrefix) {
        int count = declaredSoFar;
        for (const std::string& name : names) {
            if (count >= wanted) {
                return;
            }
            if (functionNamed(type_, name) == nullptr) {
                addPadding(name, kind);
                ++count;
            }
        }
        for (int k = 1; count < wanted; ++k) {
            const std::string name = ownPrefix + std::to_string(k);
            if (functionNamed(type_, name) == nullptr) {
                addPadding(name, kind);
                ++count;
            }
        }
    }

    void addPadding(const std::string& name, InvokeKind kind) {
        type_.functions.push_back(function(nextOwnId_++, name, kind, {},
                                           kind == InvokeKind::method
                                               ? hosttypes::declaredBase(vt::none)
                                               : hosttypes::declaredBase(vt::variant)));
    }

    const ComStrictness& strictness_;
    const hosttypes::SolidEdgeInterface* listing_;
    ServedType type_;
    host::DispId nextOwnId_ = firstOwnId;
    int methodsDeclared_ = 0;
    int propertiesDeclared_ = 0;
};

// The class's own late-bound names that its kind does not call: each calls
// the simulated host by name, unless the table calls that member by id.
void serveClassNames(ServedClass& served, const ServedType& type, const ObjectKind& kind,
                     const ObjectClass& objectClass) {
    for (std::u16string_view name : objectClass.lateBoundNames) {
        const DeclaredFunction* named = functionNamed(type, narrow(name));
        if (named == nullptr || isTableMember(kind, named->id) ||
            served.lateBound.count(named->id) != 0) {
            continue;
        }
        served.lateBound[named->id] = name;
    }
}

ServedLibrary sizedLibrary(const ComStrictness& strictness) {
    ServedLibrary library;
    library.arrayElement = arrayElementOf(strictness.arrays);
    const auto kinds = hosttypes::objectKinds();
    std::map<std::string_view, std::size_t> typeOfInterface;
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const std::string_view interfaceName = kinds[k].interfaceName;
        if (typeOfInterface.count(interfaceName) != 0) {
            continue;
        }
        SizedTypeBuilder builder(strictness, interfaceName);
        std::optional<host::InterfaceId> guid;
        for (const ObjectKind& kind : kinds) {
            if (kind.interfaceName == interfaceName) {
                builder.declareTableMembers(kind);
                const bool separate = strictness.classIds == ComStrictness::ClassIds::separate &&
                                      isClassIdKind(kind.kind);
                if (kind.iid && !separate && !guid) {
                    guid = kind.iid;
                }
            }
        }
        for (const ObjectKind& kind : kinds) {
            if (kind.interfaceName == interfaceName) {
                builder.declareLateBoundMembers(kind);
            }
        }
        for (const auto& [objectClass, kindName] : classKinds) {
            if (hosttypes::kindNamed(kindName)->interfaceName == interfaceName) {
                builder.declareNames(objectClass->lateBoundNames);
            }
        }
        typeOfInterface[interfaceName] = library.types.size();
        library.types.push_back(
            builder.finish(guid.value_or(ownTypeId(sizedTypes + static_cast<std::uint32_t>(k)))));
    }

    for (const auto& [objectClass, kindName] : classKinds) {
        const ObjectKind& kind = *hosttypes::kindNamed(kindName);
        const std::size_t typeIndex = typeOfInterface.at(kind.interfaceName);
        const ServedType& type = library.types[typeIndex];
        ServedClass served;
        served.type = typeIndex;
        served.answersTableId =
            !(strictness.classIds == ComStrictness::ClassIds::separate && isClassIdKind(kind.kind));
        for (const DeclaredFunction& declaredFunction : type.functions) {
            served.names.emplace_back(wide(declaredFunction.name), declaredFunction.id);
        }
        for (const ToolMember& member : kind.members) {
            if (!member.byName()) {
                continue;
            }
            const DeclaredFunction* named = functionNamed(type, SizedTypeBuilder::nameOf(member));
            // A late-bound name can be the name of a member the table calls
            // by id: that member serves it.
            if (!isTableMember(kind, named->id)) {
                served.lateBound[named->id] = member.name;
            }
            // Automation names ignore letter case; the tool's own spelling
            // ("body") is answered as well as the declared one ("Body").
            served.names.emplace_back(std::u16string(member.name), named->id);
        }
        serveClassNames(served, type, kind, *objectClass);
        markUnserved(served, type, kind);
        if (&kind == hosttypes::kindNamed(hosttypes::colorQueryKind) &&
            strictness.byRef == ComStrictness::ByRef::declared) {
            served.colorQueryForms = {colorQueryAsVariants()};
        }
        library.classes[objectClass] = std::move(served);
    }
    // The classes of no kind that Solid Edge has an interface for.
    for (std::size_t c = 0; c < namedOnlyClasses.size(); ++c) {
        const auto& [objectClass, interfaceName] = namedOnlyClasses[c];
        SizedTypeBuilder builder(strictness, interfaceName);
        builder.declareNames(objectClass->lateBoundNames);
        ServedClass served;
        served.type = library.types.size();
        library.types.push_back(
            builder.finish(ownTypeId(sizedTypes + static_cast<std::uint32_t>(kinds.size() + c))));
        const ServedType& type = library.types[*served.type];
        for (const DeclaredFunction& declaredFunction : type.functions) {
            served.names.emplace_back(wide(declaredFunction.name), declaredFunction.id);
        }
        const ObjectKind noKind{{}, interfaceName, std::nullopt, {}};
        serveClassNames(served, type, noKind, *objectClass);
        markUnserved(served, type, noKind);
        library.classes[objectClass] = std::move(served);
    }
    // A class of no kind (a non-view selected item) keeps its small type.
    keepSmallTypes(library, smallLibrary(strictness));
    return library;
}

// --- A probe's report -------------------------------------------------------

// The class's late-bound names that the report does not serve (the probe asks
// only for the names the window uses): a name the reported type declares
// calls the simulated host by that name; one it does not gets an id of the
// server's own, so that a client of the command-line tool's members still
// reaches them against a replayed Solid Edge.
void serveUnreportedNames(ServedClass& served, const ObjectKind& kind,
                          const ObjectClass& objectClass) {
    host::DispId next = firstOwnId + 0x8000;
    for (std::u16string_view name : objectClass.lateBoundNames) {
        if (const std::optional<host::DispId> id = idIn(served, name)) {
            if (!isTableMember(kind, *id) && served.lateBound.count(*id) == 0) {
                served.lateBound[*id] = name;
                served.unserved.erase(*id);
            }
            continue;
        }
        served.names.emplace_back(std::u16string(name), next);
        served.lateBound[next++] = name;
    }
}

// Whether a reported answer is success.
bool tookIt(std::string_view answer) {
    return hosttypes::answerNumber(answer) == 0;
}

// The forms the colour query took: where it refused some, only those it
// took; where it took every form tried, any.
std::vector<std::vector<DeclaredType>> acceptedColorQueryForms(
    const hosttypes::ProbeReport& report) {
    std::vector<std::vector<DeclaredType>> accepted;
    bool refusedSome = false;
    for (const hosttypes::ColorQueryForm& form : report.colorQuery) {
        if (!tookIt(form.answer)) {
            refusedSome = true;
            continue;
        }
        std::optional<std::vector<DeclaredType>> parameters = hosttypes::parseForm(form.form);
        if (!parameters) {
            throw std::runtime_error("colour query: \"" + form.form + "\" is no form");
        }
        accepted.push_back(std::move(*parameters));
    }
    return refusedSome ? accepted : std::vector<std::vector<DeclaredType>>{};
}

void addFunctionOnce(ServedType& type, const DeclaredFunction& declaredFunction) {
    for (const DeclaredFunction& existing : type.functions) {
        if (existing.id == declaredFunction.id && existing.kind == declaredFunction.kind) {
            return;
        }
    }
    type.functions.push_back(declaredFunction);
}

// Types a declaration names but no reported kind describes: an interface
// (named by pointer) becomes an empty dispatch type, anything else an
// enumeration, so that the declaration reads back as it was reported.
void addNamedOnlyTypes(ServedLibrary& library) {
    std::vector<std::pair<std::string, bool>> named;
    for (const ServedType& type : library.types) {
        for (const DeclaredFunction& declaredFunction : type.functions) {
            std::vector<DeclaredType> used = declaredFunction.parameters;
            used.push_back(declaredFunction.returns);
            for (const DeclaredType& usedType : used) {
                if (usedType.base == vt::userDefined) {
                    named.emplace_back(usedType.userName, usedType.isObject());
                }
            }
        }
    }
    std::uint32_t number = namedOnlyTypes;
    for (const auto& [name, isInterface] : named) {
        const std::u16string typeName = wide(name);
        const bool known =
            std::any_of(library.types.begin(), library.types.end(),
                        [&typeName](const ServedType& t) { return t.name == typeName; });
        if (!known) {
            ServedType type;
            type.name = typeName;
            type.guid = ownTypeId(number++);
            type.enumeration = !isInterface;
            library.types.push_back(std::move(type));
        }
    }
}

}  // namespace

const ServedClass& ServedLibrary::servedClass(const ObjectClass& objectClass) const {
    return classes.at(&objectClass);
}

std::optional<host::DispId> ServedLibrary::idOf(const ObjectClass& objectClass,
                                                std::u16string_view name) const {
    return idIn(servedClass(objectClass), name);
}

std::optional<host::MemberName> ServedLibrary::memberOf(const ObjectClass& objectClass,
                                                        host::DispId id) const {
    const ServedClass& served = servedClass(objectClass);
    if (auto late = served.lateBound.find(id); late != served.lateBound.end()) {
        return host::MemberName{0, late->second};
    }
    if (served.unserved.count(id) != 0 || (id >= firstOwnId && id <= lastOwnId)) {
        return std::nullopt;
    }
    return host::MemberName{id, {}};
}

std::string_view kindOfClass(const ObjectClass& objectClass) {
    for (const auto& [candidate, kind] : classKinds) {
        if (candidate == &objectClass) {
            return kind;
        }
    }
    return {};
}

ServedLibrary servedLibrary(const ComStrictness& strictness) {
    return strictness.typeLibrary == ComStrictness::TypeLibrary::solidEdge
               ? sizedLibrary(strictness)
               : smallLibrary(strictness);
}

ServedLibrary reportedLibrary(const ComStrictness& strictness,
                              const hosttypes::ProbeReport& report) {
    ServedLibrary library;
    library.arrayElement = arrayElementOf(strictness.arrays);
    // The reported types, one per type id (two kinds may share one).
    std::map<std::string, std::size_t> typeOfGuid;
    std::map<std::size_t, int> wantedFunctions;
    for (const hosttypes::ReportedKind& reported : report.kinds) {
        if (!reported.met || !reported.typeInfo || hosttypes::kindNamed(reported.kind) == nullptr) {
            continue;
        }
        const hosttypes::TypeAttributes& attributes = *reported.typeInfo;
        const std::optional<host::InterfaceId> guid = hosttypes::parseGuid(attributes.guid);
        if (!guid) {
            throw std::runtime_error(reported.kind + ": \"" + attributes.guid + "\" is no type id");
        }
        const std::string key = hosttypes::guidText(*guid);
        if (typeOfGuid.count(key) == 0) {
            ServedType type;
            type.name = wide(attributes.name);
            type.guid = *guid;
            type.variables = attributes.variables;
            typeOfGuid[key] = library.types.size();
            library.types.push_back(std::move(type));
        }
        const std::size_t index = typeOfGuid[key];
        // A dispatch interface's count includes the seven functions of
        // IUnknown and IDispatch, which the served type inherits.
        const int inherited =
            attributes.typeKind == "dispatch" && attributes.implementedTypes > 0 ? 7 : 0;
        wantedFunctions[index] =
            std::max(wantedFunctions[index], std::max(attributes.functions - inherited, 0));
        for (const hosttypes::ReportedMember& member : reported.members) {
            for (const DeclaredFunction& declaredFunction : member.declared) {
                addFunctionOnce(library.types[index], declaredFunction);
            }
        }
    }
    for (const auto& [index, wanted] : wantedFunctions) {
        ServedType& type = library.types[index];
        host::DispId next = firstOwnId;
        for (int k = 1; static_cast<int>(type.functions.size()) < wanted; ++k) {
            while (declaresId(type, next)) {
                ++next;
            }
            type.functions.push_back(function(next++, "Function" + std::to_string(k),
                                              InvokeKind::method, {},
                                              hosttypes::declaredBase(vt::none)));
        }
    }
    for (const auto& [objectClass, kindName] : classKinds) {
        const hosttypes::ReportedKind* reported = report.kindNamed(kindName);
        if (reported == nullptr || !reported->met) {
            continue;  // the small library's declaration stands
        }
        const ObjectKind& kind = *hosttypes::kindNamed(kindName);
        ServedClass served;
        if (reported->typeInfo) {
            served.type =
                typeOfGuid.at(hosttypes::guidText(*hosttypes::parseGuid(reported->typeInfo->guid)));
        } else {
            // A problem that is no HRESULT ("none given") stands for E_NOTIMPL.
            served.typeInfoFailure = hosttypes::answerNumber(reported->typeInfoProblem)
                                         .value_or(static_cast<std::int32_t>(0x80004001));
        }
        served.answersTableId = reported->castIid.empty() || tookIt(reported->castAnswer);
        for (const hosttypes::ReportedMember& member : reported->members) {
            if (!member.idOfName) {
                continue;
            }
            if (!member.id) {
                served.names.emplace_back(wide(member.name), *member.idOfName);
                // The simulated host's own spelling of the name it serves.
                for (const ToolMember& toolMember : kind.members) {
                    if (toolMember.byName() && narrow(toolMember.name) == member.name &&
                        !isTableMember(kind, *member.idOfName)) {
                        served.lateBound[*member.idOfName] = toolMember.name;
                    }
                }
            } else if (!member.declared.empty()) {
                served.names.emplace_back(wide(member.declared.front().name), *member.idOfName);
            }
        }
        if (served.type) {
            const ServedType& type = library.types[*served.type];
            for (const DeclaredFunction& declaredFunction : type.functions) {
                served.names.emplace_back(wide(declaredFunction.name), declaredFunction.id);
            }
            markUnserved(served, type, kind);
        }
        serveUnreportedNames(served, kind, *objectClass);
        if (kind.kind == hosttypes::colorQueryKind) {
            served.colorQueryForms = acceptedColorQueryForms(report);
        }
        library.classes[objectClass] = std::move(served);
    }
    keepSmallTypes(library, smallLibrary(strictness));
    addNamedOnlyTypes(library);

    // The element type the colour query's arrays came back in.
    for (const hosttypes::ColorQueryForm& form : report.colorQuery) {
        const std::optional<std::uint16_t> returned =
            hosttypes::parseVariantTypeText(form.returned);
        if (tookIt(form.answer) && returned && (*returned & vt::arrayFlag) != 0) {
            library.arrayElement = static_cast<std::uint16_t>(*returned & 0x0FFF);
            break;
        }
    }
    return library;
}

}  // namespace tav::sim

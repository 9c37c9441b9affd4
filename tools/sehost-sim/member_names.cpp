#include "tools/sehost-sim/member_names.h"

#include <array>

#include "host/sim/ascii_case.h"

namespace tav::sehost {
namespace {

namespace ids = host::dispatch;

// Every late-bound name of the host, in the order of the shared numbering.
constexpr std::array<std::u16string_view, 8> knownNames{
    ids::draftDocument::selectSetName,   ids::selectSet::typeName,
    ids::selectSet::drawingViewTypeName, ids::occurrence::diffuseRedName,
    ids::occurrence::diffuseGreenName,   ids::occurrence::diffuseBlueName,
    ids::occurrence::modelsName,         ids::occurrence::bodyName,
};

// Well above every dispatch id of the host's object table.
constexpr host::DispId firstNameId = 0x40000000;
constexpr host::DispId lastNameId = firstNameId + 0xFFFF;

std::span<const std::u16string_view> numbered(sim::ComStrictness::Names numbering,
                                              const sim::ObjectClass& objectClass) {
    if (numbering == sim::ComStrictness::Names::perInterface) {
        return objectClass.lateBoundNames;
    }
    return knownNames;
}

}  // namespace

std::optional<host::DispId> MemberNames::idOf(const sim::ObjectClass& objectClass,
                                              std::u16string_view name) {
    ++lookups_;
    return numberOf(objectClass, name);
}

std::optional<host::DispId> MemberNames::numberOf(const sim::ObjectClass& objectClass,
                                                  std::u16string_view name) const {
    const std::span<const std::u16string_view> names = numbered(numbering_, objectClass);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sim::equalsIgnoringAsciiCase(name, names[i])) {
            return firstNameId + static_cast<host::DispId>(i);
        }
    }
    return std::nullopt;
}

std::optional<host::MemberName> MemberNames::memberOf(const sim::ObjectClass& objectClass,
                                                      host::DispId id) const {
    if (id < firstNameId || id > lastNameId) {
        return host::MemberName{id, {}};
    }
    const std::span<const std::u16string_view> names = numbered(numbering_, objectClass);
    const auto position = static_cast<std::size_t>(id - firstNameId);
    if (position >= names.size()) {
        return std::nullopt;
    }
    // A lenient host gives every name an id, but only the class's own members answer.
    for (std::u16string_view own : objectClass.lateBoundNames) {
        if (own == names[position]) {
            return host::MemberName{0, own};
        }
    }
    return std::nullopt;
}

}  // namespace tav::sehost

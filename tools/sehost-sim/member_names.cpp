#include "tools/sehost-sim/member_names.h"

#include <array>

#include "host/sim/ascii_case.h"

namespace tav::sehost {
namespace {

namespace ids = host::dispatch;

constexpr std::array<std::u16string_view, 8> knownNames{
    ids::draftDocument::selectSetName,   ids::selectSet::typeName,
    ids::selectSet::drawingViewTypeName, ids::occurrence::diffuseRedName,
    ids::occurrence::diffuseGreenName,   ids::occurrence::diffuseBlueName,
    ids::occurrence::modelsName,         ids::occurrence::bodyName,
};

// Well above every dispatch id of the host's object table.
constexpr host::DispId firstNameId = 0x40000000;

}  // namespace

std::optional<host::DispId> MemberNames::idOf(std::u16string_view name) {
    ++lookups_;
    for (std::size_t i = 0; i < knownNames.size(); ++i) {
        if (sim::equalsIgnoringAsciiCase(name, knownNames[i])) {
            return firstNameId + static_cast<host::DispId>(i);
        }
    }
    return std::nullopt;
}

std::optional<std::u16string_view> MemberNames::nameOf(host::DispId id) {
    if (id < firstNameId || id - firstNameId >= static_cast<host::DispId>(knownNames.size())) {
        return std::nullopt;
    }
    return knownNames[static_cast<std::size_t>(id - firstNameId)];
}

}  // namespace tav::sehost

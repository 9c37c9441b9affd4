#include "platform/win/error_hresult.h"

namespace tav::platform {
namespace {

constexpr std::uint32_t controlFacilityBase = 0x800A0000u;

}  // namespace

HRESULT hresultOf(std::int32_t number) {
    if (number > 0 && number <= 0xFFFF) {
        return static_cast<HRESULT>(controlFacilityBase | static_cast<std::uint32_t>(number));
    }
    return static_cast<HRESULT>(number);
}

std::int32_t numberOf(HRESULT hr) {
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & 0xFFFF0000u) == controlFacilityBase) {
        return static_cast<std::int32_t>(bits & 0xFFFFu);
    }
    return static_cast<std::int32_t>(hr);
}

}  // namespace tav::platform

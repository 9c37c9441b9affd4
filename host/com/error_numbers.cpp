#include "host/com/error_numbers.h"

namespace tav::com {
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

std::optional<host::AutomationError> runtimeErrorOf(HRESULT hr) {
    switch (hr) {
        case DISP_E_MEMBERNOTFOUND:
        case DISP_E_UNKNOWNNAME:
            return host::memberNotSupportedError();
        case DISP_E_TYPEMISMATCH:
            return host::typeMismatchError();
        case DISP_E_OVERFLOW:
            return host::overflowError();
        case DISP_E_BADINDEX:
            return host::AutomationError(9, u"Subscript out of range");
        case DISP_E_PARAMNOTOPTIONAL:
            return host::AutomationError(449, u"Argument not optional");
        case DISP_E_BADPARAMCOUNT:
            return host::AutomationError(
                450, u"Wrong number of arguments or invalid property assignment");
        default:
            return std::nullopt;
    }
}

bool isTransportFailure(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_RPC) {
        return true;  // RPC_E_CALL_REJECTED, RPC_E_DISCONNECTED, ...
    }
    // RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED and their kin, as HRESULTs.
    const auto code = static_cast<std::uint32_t>(hr) & 0xFFFFu;
    return HRESULT_FACILITY(hr) == FACILITY_WIN32 && code >= 1700 && code < 1800;
}

}  // namespace tav::com

#include "host/com/error_numbers.h"

namespace tav::com {
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

#include "host/com/automation_errors.h"

#include <string>

#include "host/com/bstr.h"
#include "platform/win/unique_resource.h"

namespace tav::com {
namespace {

using Microsoft::WRL::ComPtr;
namespace number = host::runtime_error_number;

// A run-time error number is the low word of the HRESULT it travels as.
constexpr std::uint32_t runtimeNumberBits = 0xFFFFu;

// The RPC run-time's own statuses (RPC_S_*) as the Win32 codes of HRESULTs:
// the host's process is gone or cannot be reached.
constexpr std::uint32_t firstRpcStatus = RPC_S_INVALID_STRING_BINDING;  // 1700
constexpr std::uint32_t pastRpcStatuses = 1800;

// The code an EXCEPINFO reports: its scode, else its 16-bit code mapped as
// comdef's _com_error maps it, else `fallback`.
HRESULT exceptionCode(const EXCEPINFO& exception, HRESULT fallback) {
    if (exception.scode != 0) {
        return exception.scode;
    }
    if (exception.wCode != 0) {
        return static_cast<HRESULT>(
            static_cast<std::uint32_t>(automation_hresult::firstExceptionCode) + exception.wCode);
    }
    return fallback;
}

// Takes over the EXCEPINFO's strings, so each is freed exactly once.
struct ExceptionTexts {
    UniqueBstr source;
    UniqueBstr description;
    UniqueBstr helpFile;
    explicit ExceptionTexts(EXCEPINFO& exception)
        : source(std::exchange(exception.bstrSource, nullptr)),
          description(std::exchange(exception.bstrDescription, nullptr)),
          helpFile(std::exchange(exception.bstrHelpFile, nullptr)) {}
};

// The description of the thread's error object, when `object` says that it
// reports its errors there for `iid`; else empty.
std::u16string errorObjectDescription(IUnknown* object, REFIID iid) {
    ComPtr<ISupportErrorInfo> support;
    if (object == nullptr ||
        FAILED(object->QueryInterface(IID_ISupportErrorInfo,
                                      reinterpret_cast<void**>(support.GetAddressOf()))) ||
        support->InterfaceSupportsErrorInfo(iid) != S_OK) {
        return {};
    }
    const ComPtr<IErrorInfo> info = takeErrorObject();
    return info ? descriptionOf(*info.Get()) : std::u16string();
}

// Whether `object` stands for one in another process. A deferred fill-in is
// code of the object's own process: across processes the marshalling layer
// runs it before the reply travels (Windows does); one that arrives anyway
// (Wine passes the pointer on) cannot be called here.
bool isProxy(IUnknown* object) {
    ComPtr<IClientSecurity> security;
    return object != nullptr &&
           SUCCEEDED(object->QueryInterface(IID_IClientSecurity,
                                            reinterpret_cast<void**>(security.GetAddressOf())));
}

host::AutomationError automationError(HRESULT code, std::u16string description) {
    if (std::optional<host::AutomationError> runtime = runtimeErrorOf(code)) {
        if (description.empty()) {
            return *runtime;
        }
        return {runtime->number(), std::move(description)};
    }
    if (description.empty()) {
        description = systemText(code);
    }
    return {numberOf(code), std::move(description)};
}

}  // namespace

HRESULT hresultOf(std::int32_t number) {
    if (number > 0 && number <= static_cast<std::int32_t>(runtimeNumberBits)) {
        return static_cast<HRESULT>(
            static_cast<std::uint32_t>(automation_hresult::controlFacilityBase) |
            static_cast<std::uint32_t>(number));
    }
    return static_cast<HRESULT>(number);
}

std::int32_t numberOf(HRESULT hr) {
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & ~runtimeNumberBits) ==
        static_cast<std::uint32_t>(automation_hresult::controlFacilityBase)) {
        return static_cast<std::int32_t>(bits & runtimeNumberBits);
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
            return host::AutomationError(number::subscriptOutOfRange, u"Subscript out of range");
        case DISP_E_PARAMNOTOPTIONAL:
            return host::AutomationError(number::argumentNotOptional, u"Argument not optional");
        case DISP_E_BADPARAMCOUNT:
            return host::AutomationError(
                number::wrongNumberOfArguments,
                u"Wrong number of arguments or invalid property assignment");
        default:
            return std::nullopt;
    }
}

bool isTransportFailure(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_RPC) {
        return true;  // RPC_E_CALL_REJECTED, RPC_E_DISCONNECTED, ...
    }
    const auto code = static_cast<std::uint32_t>(HRESULT_CODE(hr));
    return HRESULT_FACILITY(hr) == FACILITY_WIN32 && code >= firstRpcStatus &&
           code < pastRpcStatuses;
}

bool isBusyRejection(HRESULT hr) {
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

host::AutomationError errorFromHresult(HRESULT hr) {
    return automationError(hr, {});
}

host::AutomationError errorFromInvoke(HRESULT hr, EXCEPINFO& exception, IUnknown* object,
                                      REFIID iid) {
    if (exception.pfnDeferredFillIn != nullptr && !isProxy(object)) {
        exception.pfnDeferredFillIn(&exception);
    }
    exception.pfnDeferredFillIn = nullptr;
    ExceptionTexts texts(exception);
    if (hr == DISP_E_EXCEPTION) {
        return automationError(exceptionCode(exception, hr), textOf(texts.description.get()));
    }
    if (isTransportFailure(hr)) {
        return automationError(hr, {});
    }
    return automationError(hr, errorObjectDescription(object, iid));
}

void throwInvokeFailure(HRESULT hr, EXCEPINFO& exception, IUnknown* object, REFIID iid) {
    if (hr == DISP_E_MEMBERNOTFOUND) {
        throw MemberNotFound(errorFromInvoke(hr, exception, object, iid));
    }
    if (isTransportFailure(hr)) {
        throw CallNotServed(errorFromInvoke(hr, exception, object, iid));
    }
    throw errorFromInvoke(hr, exception, object, iid);
}

void clearExceptionInfo(EXCEPINFO& exception) {
    ExceptionTexts texts(exception);
    exception = EXCEPINFO{};
}

ComPtr<IErrorInfo> takeErrorObject() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK) {
        return nullptr;
    }
    return info;
}

std::u16string descriptionOf(IErrorInfo& info) {
    UniqueBstr description;
    if (FAILED(info.GetDescription(description.receive()))) {
        return {};
    }
    return textOf(description.get());
}

std::u16string sourceOf(IErrorInfo& info) {
    UniqueBstr source;
    if (FAILED(info.GetSource(source.receive()))) {
        return {};
    }
    return textOf(source.get());
}

std::u16string systemText(HRESULT hr) {
    platform::UniqueLocalMemory<wchar_t*> buffer;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the
    // address of the text the system allocated.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(buffer.receive()), 0,
        nullptr);
    std::u16string text;
    if (buffer) {
        text.assign(reinterpret_cast<const char16_t*>(buffer.get()), length);
    }
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        const std::string fallback = "Automation error " + host::hexNumberText(hr);
        text.assign(fallback.begin(), fallback.end());
    }
    return text;
}

}  // namespace tav::com

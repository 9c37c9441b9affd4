#include "host/com/hresult_error.h"

#include <wrl/client.h>

#include <cstdio>
#include <string>
#include <utility>

#include "host/com/bstr.h"
#include "host/com/error_numbers.h"
#include "platform/win/error_hresult.h"
#include "platform/win/unique_resource.h"

namespace tav::com {
namespace {

using Microsoft::WRL::ComPtr;

// The code an EXCEPINFO reports: its scode, else its 16-bit code mapped as
// comdef's _com_error maps it, else `fallback`.
HRESULT exceptionCode(const EXCEPINFO& exception, HRESULT fallback) {
    if (exception.scode != 0) {
        return exception.scode;
    }
    if (exception.wCode != 0) {
        return static_cast<HRESULT>(0x80040200u + exception.wCode);
    }
    return fallback;
}

// Takes over the EXCEPINFO's strings, so each is freed exactly once.
struct ExceptionTexts {
    Bstr source;
    Bstr description;
    Bstr helpFile;
    explicit ExceptionTexts(EXCEPINFO& exception) {
        *source.receive() = std::exchange(exception.bstrSource, nullptr);
        *description.receive() = std::exchange(exception.bstrDescription, nullptr);
        *helpFile.receive() = std::exchange(exception.bstrHelpFile, nullptr);
    }
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
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) {
        return {};
    }
    Bstr description;
    if (FAILED(info->GetDescription(description.receive()))) {
        return {};
    }
    return description.text();
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
    return {platform::numberOf(code), std::move(description)};
}

}  // namespace

void clearExceptionInfo(EXCEPINFO& exception) {
    ExceptionTexts texts(exception);
    exception = EXCEPINFO{};
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
        return automationError(exceptionCode(exception, hr), texts.description.text());
    }
    if (isTransportFailure(hr)) {
        return automationError(hr, {});
    }
    return automationError(hr, errorObjectDescription(object, iid));
}

}  // namespace tav::com

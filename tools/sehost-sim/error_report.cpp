#include "tools/sehost-sim/error_report.h"

#include <wrl/client.h>

#include <optional>
#include <string>

#include "host/com/automation_errors.h"
#include "host/com/bstr.h"
#include "platform/win/wide_text.h"

namespace tav::sehost {
namespace {

using Errors = sim::ComStrictness::Errors;

constexpr char16_t source[] = u"SolidEdge.Application";

void fill(EXCEPINFO& exception, HRESULT code, const std::u16string& description) {
    exception.bstrSource = com::bstrOf(source).release();
    exception.bstrDescription = com::bstrOf(description).release();
    exception.scode = code;
}

// The error a deferred fill-in still owes its client. The server serves on
// one thread, and a client asks for the fill-in of the call it just made.
thread_local std::optional<host::AutomationError> owedError;

HRESULT STDAPICALLTYPE fillInDeferred(EXCEPINFO* exception) {
    if (exception == nullptr || !owedError) {
        return E_UNEXPECTED;
    }
    fill(*exception, com::hresultOf(owedError->number()), owedError->description());
    owedError.reset();
    return S_OK;
}

HRESULT reportDirect(const host::AutomationError& error) {
    Microsoft::WRL::ComPtr<ICreateErrorInfo> created;
    if (SUCCEEDED(CreateErrorInfo(created.GetAddressOf()))) {
        std::wstring description = platform::wideText(error.description());
        created->SetDescription(description.data());
        created->SetSource(const_cast<LPOLESTR>(L"SolidEdge.Application"));
        Microsoft::WRL::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(created.As(&info))) {
            SetErrorInfo(0, info.Get());
        }
    }
    return com::hresultOf(error.number());
}

}  // namespace

HRESULT reportError(const host::AutomationError& error, Errors form, EXCEPINFO* exception) {
    if (form == Errors::direct || exception == nullptr) {
        return reportDirect(error);
    }
    *exception = EXCEPINFO{};
    if (form == Errors::deferred) {
        owedError = error;
        exception->pfnDeferredFillIn = &fillInDeferred;
        // The fill-in is code of this process, of no use to a client in
        // another: Windows' IDispatch stub calls it before the reply
        // travels, Wine's passes the pointer on. Every call this server
        // serves comes from another process, so it does the stub's part.
        exception->pfnDeferredFillIn(exception);
        exception->pfnDeferredFillIn = nullptr;
    } else {
        fill(*exception, com::hresultOf(error.number()), error.description());
    }
    return DISP_E_EXCEPTION;
}

void clearErrorObject() {
    SetErrorInfo(0, nullptr);
}

}  // namespace tav::sehost

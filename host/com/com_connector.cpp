#include "host/com/com_connector.h"

#include <string>

#include "host/com/hresult_error.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

ComConnector::ComConnector(CallWatch& calls) : connection_(std::make_shared<Connection>(calls)) {}

host::ObjectRef ComConnector::getRunning(std::u16string_view progId) {
    std::u16string text(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(text.c_str()), &clsid);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    // A host busy with a dialog rejects every call, these first ones too:
    // they are waited for as any call is.
    CallWatch& calls = connection_->calls;
    ComPtr<IUnknown> running;
    hr = calls.run(
        [&] { return GetActiveObject(clsid, nullptr, running.ReleaseAndGetAddressOf()); });
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    // The running application is a dispatch object; a QueryInterface that
    // a busy host rejected arrives as E_NOINTERFACE under Wine, so that is
    // taken as busy here, until the call's bound.
    ComPtr<IDispatch> dispatch;
    HRESULT asked = S_OK;
    calls.run([&] {
        asked = running.As(&dispatch);
        return asked == E_NOINTERFACE ? RPC_E_CALL_REJECTED : asked;
    });
    if (FAILED(asked)) {
        throw errorFromHresult(asked);
    }
    return DispatchObject::wrap(connection_, std::move(dispatch));
}

void ComConnector::allowToComeToFront(const host::ObjectRef& application) {
    if (const auto* object = application.backendObject<DispatchObject>()) {
        CoAllowSetForegroundWindow(object->dispatch(), nullptr);
    }
}

}  // namespace tav::com

#include "host/com/com_connector.h"

#include <string>

#include "host/com/automation_errors.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

HRESULT findRunning(CallWatch& calls, const CLSID& classId, ComPtr<IDispatch>& application) {
    ComPtr<IUnknown> running;
    const HRESULT hr = calls.run(
        [&] { return GetActiveObject(classId, nullptr, running.ReleaseAndGetAddressOf()); });
    if (FAILED(hr)) {
        return hr;
    }
    // The running application is a dispatch object; a QueryInterface that
    // a busy host rejected arrives as E_NOINTERFACE under Wine, so that is
    // taken as busy here, until the call's bound.
    HRESULT asked = S_OK;
    calls.run([&] {
        asked = running.As(&application);
        return asked == E_NOINTERFACE ? RPC_E_CALL_REJECTED : asked;
    });
    return asked;
}

ComConnector::ComConnector(CallWatch& calls) : connection_(std::make_shared<Connection>(calls)) {}

host::ObjectRef ComConnector::getRunning(std::u16string_view progId) {
    std::u16string text(progId);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(text.c_str()), &clsid);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    ComPtr<IDispatch> dispatch;
    hr = findRunning(connection_->calls, clsid, dispatch);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    return DispatchObject::wrap(connection_, std::move(dispatch));
}

void ComConnector::allowToComeToFront(const host::ObjectRef& application) {
    if (const auto* object = application.backendObject<DispatchObject>()) {
        CoAllowSetForegroundWindow(object->dispatch(), nullptr);
    }
}

}  // namespace tav::com

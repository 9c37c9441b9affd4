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
    ComPtr<IUnknown> running;
    hr = GetActiveObject(clsid, nullptr, running.GetAddressOf());
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    ComPtr<IDispatch> dispatch;
    hr = running.As(&dispatch);
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

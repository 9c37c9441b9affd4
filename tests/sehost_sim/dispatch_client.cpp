#include "dispatch_client.h"

#include <oleauto.h>

#include <algorithm>

namespace tav::sehost::test {

GUID guidOf(const host::InterfaceId& id) {
    GUID guid{};
    guid.Data1 = id.data1;
    guid.Data2 = id.data2;
    guid.Data3 = id.data3;
    std::copy(id.data4.begin(), id.data4.end(), guid.Data4);
    return guid;
}

HRESULT runningApplication(ComPtr<IDispatch>& application) {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(L"solidedge.application", &classId);
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IUnknown> running;
    hr = GetActiveObject(classId, nullptr, running.GetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    return running->QueryInterface(guidOf(host::dispatch::application::iid),
                                   reinterpret_cast<void**>(application.ReleaseAndGetAddressOf()));
}

HRESULT invoke(IDispatch* object, DISPID member, WORD flags, std::vector<VARIANT*> args,
               Variant* result) {
    std::vector<VARIANT> reversed;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        reversed.push_back(**arg);
    }
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    const HRESULT hr =
        object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                       result == nullptr ? nullptr : &result->value, &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr == DISP_E_EXCEPTION && exception.scode != 0 ? exception.scode : hr;
}

HRESULT get(IDispatch* object, DISPID member, Variant& result) {
    return invoke(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &result);
}

namespace {

// The object an automation call returned, or its failure.
HRESULT objectOf(HRESULT hr, const Variant& value, ComPtr<IDispatch>& result) {
    if (FAILED(hr)) {
        return hr;
    }
    if (value.value.vt != VT_DISPATCH) {
        return DISP_E_TYPEMISMATCH;
    }
    result = value.value.pdispVal;
    return S_OK;
}

}  // namespace

HRESULT getObject(IDispatch* object, DISPID member, ComPtr<IDispatch>& result) {
    Variant value;
    const HRESULT hr = get(object, member, value);
    return objectOf(hr, value, result);
}

HRESULT itemObject(IDispatch* collection, short index, ComPtr<IDispatch>& result) {
    Variant position;
    position.value.vt = VT_I2;
    position.value.iVal = index;
    Variant value;
    const HRESULT hr = invoke(collection, DISPID_VALUE, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                              {&position.value}, &value);
    return objectOf(hr, value, result);
}

HRESULT firstDrawingView(IDispatch* application, ComPtr<IDispatch>& document,
                         ComPtr<IDispatch>& view) {
    namespace ids = host::dispatch;
    ComPtr<IDispatch> sheet;
    ComPtr<IDispatch> views;
    HRESULT hr = getObject(application, ids::application::activeDocument, document);
    if (SUCCEEDED(hr)) {
        hr = getObject(document.Get(), ids::draftDocument::activeSheet, sheet);
    }
    if (SUCCEEDED(hr)) {
        hr = getObject(sheet.Get(), ids::sheet::drawingViews, views);
    }
    return SUCCEEDED(hr) ? itemObject(views.Get(), 1, view) : hr;
}

HRESULT nameId(IDispatch* object, const wchar_t* name, DISPID& id) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
}

}  // namespace tav::sehost::test

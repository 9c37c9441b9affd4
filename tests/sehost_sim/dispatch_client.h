// The few automation calls the server's tests make, written plainly: the
// lookup of the running application and Invoke with VARIANT arguments.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "host/automation_ids.h"

namespace tav::sehost::test {

using Microsoft::WRL::ComPtr;

// A VARIANT that clears itself.
class Variant {
  public:
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT value;
};

// The single-threaded apartment of a test.
class TestApartment {
  public:
    TestApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~TestApartment() { CoUninitialize(); }
    TestApartment(const TestApartment&) = delete;
    TestApartment& operator=(const TestApartment&) = delete;
};

GUID guidOf(const host::InterfaceId& id);

// CLSIDFromProgID("solidedge.application") then GetActiveObject, taken as the
// application interface.
HRESULT runningApplication(ComPtr<IDispatch>& application);

// One Invoke; `args` in call order (reversed for DISPPARAMS here). A put
// names DISPID_PROPERTYPUT.
HRESULT invoke(IDispatch* object, DISPID member, WORD flags, std::vector<VARIANT*> args,
               Variant* result);
HRESULT get(IDispatch* object, DISPID member, Variant& result);
HRESULT getObject(IDispatch* object, DISPID member, ComPtr<IDispatch>& result);
// Item `index` (a 16-bit index) of a collection, through the default member.
HRESULT itemObject(IDispatch* collection, short index, ComPtr<IDispatch>& result);
// The active document and the first drawing view of its active sheet
// (four host calls).
HRESULT firstDrawingView(IDispatch* application, ComPtr<IDispatch>& document,
                         ComPtr<IDispatch>& view);
HRESULT nameId(IDispatch* object, const wchar_t* name, DISPID& id);

}  // namespace tav::sehost::test

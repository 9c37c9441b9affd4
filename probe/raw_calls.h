// The probe's calls on the host, raw: the VARIANT that comes back is what the
// report shows, so nothing is converted, and a failure is an HRESULT to
// report, not an error to stop at. Every call goes through the call watch,
// so a Solid Edge busy with a dialog is waited for as the tool waits for it.
// The probe only reads: property gets, collection items and the colour
// query; nothing here puts a value or calls another method.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/com/call_watch.h"
#include "host/com/variant.h"

namespace tav::probe {

struct RawAnswer {
    HRESULT hr = E_FAIL;
    com::Variant value;
};

// A property get (DISPATCH_PROPERTYGET | DISPATCH_METHOD, as the tool makes
// it), with arguments in call order.
RawAnswer readMember(com::CallWatch& calls, IDispatch* object, DISPID member,
                     std::span<VARIANT> args = {});
// The one method the probe calls: the colour query, which only reads.
RawAnswer callQuery(com::CallWatch& calls, IDispatch* object, DISPID member,
                    std::span<VARIANT> args);
// The id GetIDsOfNames gives for `name`, or the HRESULT it failed with.
struct NameAnswer {
    HRESULT hr = E_FAIL;
    DISPID id = DISPID_UNKNOWN;
};
NameAnswer idOfName(com::CallWatch& calls, IDispatch* object, std::u16string_view name);

// The object a VARIANT holds (VT_DISPATCH, or VT_UNKNOWN with IDispatch), or null.
Microsoft::WRL::ComPtr<IDispatch> objectIn(const VARIANT& value);
// An index as the tool passes it: a 16-bit integer.
VARIANT indexArgument(short index);

}  // namespace tav::probe

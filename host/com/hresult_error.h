// Failed HRESULTs as the tool's AutomationError: the number is the HRESULT
// read as a signed 32-bit integer, the description the host's own (from
// EXCEPINFO) when it gave one, else the system's text for the number.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "host/error.h"

namespace tav::com {

// A failed call's error. `exception` is the EXCEPINFO an Invoke filled (or
// null): its deferred fill-in runs first; with DISP_E_EXCEPTION its code
// (scode, or wCode) is the number. Frees the EXCEPINFO's strings.
host::AutomationError errorFromHresult(HRESULT hr, EXCEPINFO* exception = nullptr);

// Frees an EXCEPINFO's strings and zeroes it, ready for another call.
void clearExceptionInfo(EXCEPINFO& exception);

// The system's message for `hr`, without the trailing line break; a generic
// text naming the number when the system has none.
std::u16string systemText(HRESULT hr);

}  // namespace tav::com

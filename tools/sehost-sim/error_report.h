// How a served object reports a host error to its client, in the forms a
// strict host uses (sim::ComStrictness::Errors):
// - exception: DISP_E_EXCEPTION with the EXCEPINFO's scode and description;
// - deferred: DISP_E_EXCEPTION with an EXCEPINFO that holds only its
//   pfnDeferredFillIn, which fills in the rest when called (by the
//   marshalling layer, before the reply leaves the server's process);
// - direct: the error's HRESULT from Invoke itself, its description in the
//   thread's error object (SetErrorInfo), as a dual-interface server does.
// The number travels as com::hresultOf encodes it: a run-time error number n
// as 0x800A0000 | n, any other number as the HRESULT it is.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "host/error.h"
#include "host/sim/scene.h"

namespace tav::sehost {

// Fills what the form needs and gives the HRESULT Invoke returns.
HRESULT reportError(const host::AutomationError& error, sim::ComStrictness::Errors form,
                    EXCEPINFO* exception);

// Clears the thread's error object, so a client never reads an old one.
void clearErrorObject();

}  // namespace tav::sehost

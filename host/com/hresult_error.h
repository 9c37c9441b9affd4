// Failed HRESULTs as the tool's AutomationError, read as an automation
// client reads them. The number: the HRESULT as a signed 32-bit integer, a
// number of the control facility (0x800A....) as its low word, a dispatch
// failure as the run-time error it stands for (DISP_E_MEMBERNOTFOUND and
// DISP_E_UNKNOWNNAME: 438). The description: the host's own when it gave
// one, else the run-time error's, else the system's text for the number.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <utility>

#include "host/error.h"

namespace tav::com {

// A failed call that reported nothing beyond its HRESULT.
host::AutomationError errorFromHresult(HRESULT hr);

// A failed Invoke on `object`, called as `iid`:
// - DISP_E_EXCEPTION: the EXCEPINFO tells, once its deferred fill-in has
//   run (for an object of this process; across processes the marshalling
//   layer has run it): its scode, else its wCode (0x80040200 + wCode, as
//   comdef maps it), and its description;
// - any other failure is the error itself; its description comes from the
//   thread's error object when `object` says it supports one for `iid`
//   (ISupportErrorInfo), as a dual-interface server reports it.
// Frees the EXCEPINFO's strings.
host::AutomationError errorFromInvoke(HRESULT hr, EXCEPINFO& exception, IUnknown* object,
                                      REFIID iid);

// A call the host never ran: it was not delivered (the host is gone, or
// busy past the bound), or the object answered that it has no such member.
// The host numbers only the calls it runs.
class CallNotServed : public host::AutomationError {
  public:
    explicit CallNotServed(host::AutomationError error) : host::AutomationError(std::move(error)) {}
};

// An Invoke the object answered with DISP_E_MEMBERNOTFOUND itself: error 438
// for the tool, and for the name cache the sign that a kept id belongs to
// another class of object.
class MemberNotFound : public CallNotServed {
  public:
    using CallNotServed::CallNotServed;
};

// Frees an EXCEPINFO's strings and zeroes it, ready for another call.
void clearExceptionInfo(EXCEPINFO& exception);

// The system's message for `hr`, without the trailing line break; a generic
// text naming the number when the system has none.
std::u16string systemText(HRESULT hr);

}  // namespace tav::com

// Errors as COM carries them, read and written as automation servers and
// clients agree on them; the one place where an HRESULT, an EXCEPINFO or an
// error object becomes the tool's AutomationError, and a run-time error
// number becomes an HRESULT.
//
// - Numbers: a run-time error number n (a positive number, such as 13 "Type
//   mismatch") travels as the HRESULT 0x800A0000 | n, in the control
//   facility, and a client shows such an HRESULT as its low word, n; any
//   other number is an HRESULT already and travels as it is. The server
//   encodes with `hresultOf`, the client decodes with `numberOf`.
// - Dispatch failures stand for the run-time errors automation clients show
//   for them (DISP_E_MEMBERNOTFOUND and DISP_E_UNKNOWNNAME: 438).
// - Descriptions: the host's own when it gave one (in the EXCEPINFO, or in
//   the thread's error object), else the run-time error's, else the
//   system's text for the number.
// - Transport failures (the host is gone, or rejected the call as busy) are
//   told apart: they carry no error object worth asking for, and the host
//   never ran the call.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "host/error.h"

namespace tav::com {

// The HRESULTs of the translation that Windows' headers give no name.
namespace automation_hresult {
// Where run-time error numbers travel: the control facility's errors.
inline constexpr HRESULT controlFacilityBase = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 0);
// An EXCEPINFO's 16-bit wCode n stands for this + n, as comdef's _com_error
// maps it.
inline constexpr HRESULT firstExceptionCode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200);
}  // namespace automation_hresult

// The HRESULT an error with `number` travels as.
HRESULT hresultOf(std::int32_t number);

// The error number a client shows for `hr`.
std::int32_t numberOf(HRESULT hr);

// The run-time error a dispatch failure stands for, with its description:
// DISP_E_MEMBERNOTFOUND and DISP_E_UNKNOWNNAME are 438 "Object doesn't
// support this property or method", and so on. Nothing for other HRESULTs.
std::optional<host::AutomationError> runtimeErrorOf(HRESULT hr);

// Whether the call never reached the host: RPC_E_* (a rejected call, a
// disconnected object) and the RPC run-time's own failures as HRESULTs
// (RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED, ...).
bool isTransportFailure(HRESULT hr);

// A busy host's answer: RPC_E_CALL_REJECTED, and Windows'
// RPC_E_SERVERCALL_RETRYLATER (where its runtime's own retry gave up).
// CallWatch::run retries them.
bool isBusyRejection(HRESULT hr);

// A failed call that reported nothing beyond its HRESULT.
host::AutomationError errorFromHresult(HRESULT hr);

// A failed Invoke on `object`, called as `iid`:
// - DISP_E_EXCEPTION: the EXCEPINFO tells, once its deferred fill-in has
//   run (for an object of this process; across processes the marshalling
//   layer has run it): its scode, else its wCode, and its description;
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

// Raises the error a failed Invoke stands for (errorFromInvoke), as
// MemberNotFound or CallNotServed when the host never ran the call.
[[noreturn]] void throwInvokeFailure(HRESULT hr, EXCEPINFO& exception, IUnknown* object,
                                     REFIID iid);

// Frees an EXCEPINFO's strings and zeroes it, ready for another call.
void clearExceptionInfo(EXCEPINFO& exception);

// The thread's error object, taken from it (GetErrorInfo leaves none
// behind); null when there is none.
Microsoft::WRL::ComPtr<IErrorInfo> takeErrorObject();
// An error object's texts; empty when it gives none.
std::u16string descriptionOf(IErrorInfo& info);
std::u16string sourceOf(IErrorInfo& info);

// The system's message for `hr`, without the trailing line break; a generic
// text naming the number when the system has none.
std::u16string systemText(HRESULT hr);

}  // namespace tav::com

// Error numbers across COM, both ways, as automation servers and clients
// agree on them:
// - a run-time error number n (a positive number, such as 13 "Type
//   mismatch") travels as the HRESULT 0x800A0000 | n, in the control
//   facility, and a client shows such an HRESULT as its low word, n;
// - any other number is an HRESULT already and travels as it is;
// - the dispatch failures that automation clients report as run-time errors
//   (an unknown member or name, a type mismatch, ...) are shown as those.
// The server encodes with `hresultOf`, the client decodes with `numberOf`.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "host/error.h"

namespace tav::com {

// The HRESULT an error with `number` travels as.
HRESULT hresultOf(std::int32_t number);

// The error number a client shows for `hr`.
std::int32_t numberOf(HRESULT hr);

// The run-time error a dispatch failure stands for, with its description:
// DISP_E_MEMBERNOTFOUND and DISP_E_UNKNOWNNAME are 438 "Object doesn't
// support this property or method", and so on. Nothing for other HRESULTs.
std::optional<host::AutomationError> runtimeErrorOf(HRESULT hr);

// Transport failures (the host is gone, or rejected the call as busy): they
// carry no error object worth asking for.
bool isTransportFailure(HRESULT hr);

}  // namespace tav::com

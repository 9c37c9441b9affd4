// What the client makes of a failed call's HRESULT: the dispatch failures
// that automation clients report as run-time errors (an unknown member or
// name, a type mismatch, ...) are shown as those, and transport failures are
// told apart. Error numbers themselves travel as platform/win/error_hresult.h
// encodes them.
#pragma once

#include <windows.h>

#include <optional>

#include "host/error.h"

namespace tav::com {

// The run-time error a dispatch failure stands for, with its description:
// DISP_E_MEMBERNOTFOUND and DISP_E_UNKNOWNNAME are 438 "Object doesn't
// support this property or method", and so on. Nothing for other HRESULTs.
std::optional<host::AutomationError> runtimeErrorOf(HRESULT hr);

// Transport failures (the host is gone, or rejected the call as busy): they
// carry no error object worth asking for.
bool isTransportFailure(HRESULT hr);

}  // namespace tav::com

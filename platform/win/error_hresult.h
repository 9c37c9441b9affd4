// Error numbers as they travel through COM, both ways, as automation servers
// and clients agree on them: a run-time error number n (a positive number,
// such as 13 "Type mismatch") travels as the HRESULT 0x800A0000 | n, in the
// control facility, and a client shows such an HRESULT as its low word, n;
// any other number is an HRESULT already and travels as it is. The server
// encodes with `hresultOf`, the client decodes with `numberOf`.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tav::platform {

// The HRESULT an error with `number` travels as.
HRESULT hresultOf(std::int32_t number);

// The error number a client shows for `hr`.
std::int32_t numberOf(HRESULT hr);

}  // namespace tav::platform

// VARIANTs as the server receives and returns them, converted to and from the
// simulated host's values.
//
// Arguments arrive in the types the client's automation calls give them
// (Booleans as VARIANT_BOOL, 16-bit indexes, Longs, BSTRs, arrays of doubles,
// objects, each possibly by reference). Objects are the server's own: the
// caller of these functions turns a received IDispatch back into the host's
// reference, and a returned reference into a new served object.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>

#include "host/value.h"

namespace tav::sehost {

// A received object as the host's reference; an empty reference for null.
using ObjectFromDispatch = std::function<host::ObjectRef(IDispatch*)>;
// A new served object for a reference the host hands out (null for empty).
using DispatchFromObject = std::function<IDispatch*(host::ObjectRef)>;

// The argument's value (through its reference when it is one). A type the
// host cannot take raises "Type mismatch".
host::Value argumentValue(const VARIANT& argument, const ObjectFromDispatch& unwrap);

// Writes `value` back through a by-reference argument, in the argument's own
// type, as the host fills its out-parameters.
void writeBack(const VARIANT& argument, const host::Value& value);

// Fills `out` (an empty VARIANT) with a result. `out` owns what it holds.
void resultVariant(const host::Value& value, VARIANT& out, const DispatchFromObject& wrap);

}  // namespace tav::sehost

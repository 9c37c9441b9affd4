// Values across COM: host::Value <-> VARIANT, used alike by the client
// (arguments out, results back) and by the server (arguments in, results and
// by-reference arguments out).
//
// A Value goes out as the automation type it holds: bool as VT_BOOL, 16-bit
// integers as VT_I2, 32-bit as VT_I4, float as VT_R4, double as VT_R8, text
// as VT_BSTR, a reference as VT_DISPATCH (null when empty), a DoubleArray as
// a one-dimensional VT_ARRAY|VT_R8 with its lower bound, Empty as VT_EMPTY.
// Where a host declares another type for it, a Value also goes out as that
// type (toVariantOf).
//
// A VARIANT comes back as the Value the engine expects (by reference or not):
//   VT_EMPTY                        Empty
//   VT_BOOL                         bool
//   VT_I2, VT_I1, VT_UI1            16-bit integer
//   VT_I4, VT_INT, VT_UI2           32-bit integer
//   VT_UI4, VT_UINT, VT_I8, VT_UI8  32-bit integer when it fits, else double
//                                   (beyond 2^53, where a double is no longer
//                                   exact: "Overflow")
//   VT_R4                           float
//   VT_R8, VT_DATE, VT_CY, VT_DECIMAL double
//   VT_BSTR                         text (a null BSTR is "")
//   VT_DISPATCH                     reference (null: an empty reference)
//   VT_UNKNOWN                      its IDispatch as a reference (null: empty;
//                                   no IDispatch: "Type mismatch")
//   VT_ARRAY of numbers (R8, R4,    DoubleArray with its lower bound
//   I1 to I4, UI1 to UI4), one
//   dimension
//   VT_ARRAY|VT_VARIANT, one        DoubleArray, each element taken as a
//   dimension, of numbers           number is (anything else: "Type mismatch")
//   VT_VARIANT by reference         the variant it points to
//   anything else (VT_NULL, VT_ERROR, other arrays, records): "Type mismatch"
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <functional>

#include "host/com/variant.h"
#include "host/value.h"

namespace tav::com {

// How references cross: the client wraps a dispatch pointer in a HostObject
// of its own; the server hands out the COM object serving a simulated node.
using DispatchToObject = std::function<host::ObjectRef(Microsoft::WRL::ComPtr<IDispatch>)>;
using ObjectToDispatch = std::function<Microsoft::WRL::ComPtr<IDispatch>(const host::ObjectRef&)>;

// `value` as a VARIANT of its automation type.
Variant toVariant(const host::Value& value, const ObjectToDispatch& objects);

// `value` as a VARIANT of automation type `type` (a scalar type, VT_VARIANT
// for the Value's own type, or VT_ARRAY with a numeric element type, as
// safe_array.h makes them), converted as automation converts: "Type
// mismatch" for a value that is not one, "Overflow" for one out of range.
Variant toVariantOf(const host::Value& value, VARTYPE type, const ObjectToDispatch& objects);

// `variant` (by value or VT_BYREF) as a Value; raises "Type mismatch" for a
// type the engine cannot use.
host::Value fromVariant(const VARIANT& variant, const DispatchToObject& objects);

// The address a VT_BYREF argument points at for a value held in `storage`:
// the member of the VARIANT that holds it (the array pointer for an array).
// Raises "Type mismatch" for a type that cannot go by reference (Empty).
void* byReferenceAddress(VARIANT& storage);

// Writes `value` through the by-reference `target` (VT_BYREF|type), converted
// to the type the reference points to, releasing what was there: the server
// uses it to hand back by-reference arguments. Into a VARIANT an array goes
// as an array of `arrayElement`. A value that does not convert raises "Type
// mismatch" (or "Overflow") and leaves the target unchanged.
void writeThrough(const VARIANT& target, const host::Value& value, const ObjectToDispatch& objects,
                  VARTYPE arrayElement = VT_R8);

}  // namespace tav::com

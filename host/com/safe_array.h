// Owned SAFEARRAYs of numbers, the only arrays the host passes: destroyed
// exactly once, and their data accessed only under a lock that a scope owns
// (both on the project's one owner of handles).
// The tool holds them as doubles (host::DoubleArray); across COM they travel
// in whatever element type the host declares: double, single, 16- or 32-bit
// integers, or variants that each hold a number.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <functional>

#include "host/value.h"
#include "platform/win/unique_resource.h"

namespace tav::com {

using UniqueSafeArray =
    platform::UniqueResource<platform::ReleasedBy<SAFEARRAY*, &SafeArrayDestroy>>;

// SafeArrayAccessData for the life of the scope; raises AutomationError when
// the array cannot be locked.
class SafeArrayLock {
  public:
    explicit SafeArrayLock(SAFEARRAY* array);

    void* data() const { return data_; }

  private:
    platform::UniqueResource<platform::ReleasedBy<SAFEARRAY*, &SafeArrayUnaccessData>> locked_;
    void* data_ = nullptr;
};

// A one-dimensional array of `element` (VT_R8, VT_R4, VT_I2, VT_I4 or
// VT_VARIANT, each variant a VT_R8) holding `array`'s items from its lower
// bound. Integers are rounded as automation rounds (ties to even), and a
// value out of the element's range raises "Overflow".
UniqueSafeArray makeArray(const host::DoubleArray& array, VARTYPE element = VT_R8);
// Whether makeArray makes arrays of `element`.
bool isArrayElement(VARTYPE element);
// How an element of an array of variants is taken as a double.
using VariantToDouble = std::function<double(const VARIANT&)>;

// The items of a one-dimensional array with its lower bound: of any numeric
// element type (doubles, singles, integers of 8 to 32 bits), or of variants
// each taken as a double by `element`; anything else (another element type,
// more dimensions, a null array) raises "Type mismatch".
host::DoubleArray readDoubleArray(SAFEARRAY* array, const VariantToDouble& element = {});

}  // namespace tav::com

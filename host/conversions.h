// Conversions of automation values, with the rules of the automation
// run-time: numbers round to the nearest integer with ties to even, a result
// outside the target type raises "Overflow" (6), a value that is no number
// raises "Type mismatch" (13). Empty converts to 0, False or "".
#pragma once

#include <cstdint>
#include <string>

#include "host/value.h"

namespace tav::host {

std::int16_t toInt16(const Value& value);
std::int32_t toInt32(const Value& value);
float toSingle(const Value& value);
double toDouble(const Value& value);
// Numbers are True when not 0.
bool toBool(const Value& value);
// Strings as they are; numbers and Booleans as their text.
std::u16string toText(const Value& value);
// An object reference (Empty is an empty reference); anything else raises
// "Object required" (424).
ObjectRef toObject(const Value& value);

// Round a floating value to a 16-bit integer, ties to even, raising
// "Overflow" when it does not fit (NaN and infinities included).
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

}  // namespace tav::host

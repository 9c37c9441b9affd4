#include "host/com/safe_array.h"

#include <algorithm>
#include <new>
#include <utility>

#include "host/com/automation_errors.h"
#include "host/conversions.h"
#include "host/error.h"

namespace tav::com {

SafeArrayLock::SafeArrayLock(SAFEARRAY* array) {
    const HRESULT hr = SafeArrayAccessData(array, &data_);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    locked_.reset(array);
}

namespace {

// Copies `count` elements of type T from `data` as doubles.
template <class T>
void appendAll(std::vector<double>& items, const void* data, std::size_t count) {
    const auto* first = static_cast<const T*>(data);
    for (std::size_t i = 0; i < count; ++i) {
        items.push_back(static_cast<double>(first[i]));
    }
}

// Writes `items` into `data` as elements of type T.
template <class T>
void storeAll(const std::vector<double>& items, void* data, T (*convert)(double)) {
    auto* first = static_cast<T*>(data);
    for (std::size_t i = 0; i < items.size(); ++i) {
        first[i] = convert(items[i]);
    }
}

float toFloat(double value) {
    return host::toSingle(host::Value(value));
}
double toDouble(double value) {
    return value;
}
SHORT toShort(double value) {
    return host::roundToInt16(value);
}
LONG toLong(double value) {
    return host::roundToInt32(value);
}

}  // namespace

bool isArrayElement(VARTYPE element) {
    return element == VT_R8 || element == VT_R4 || element == VT_I2 || element == VT_I4 ||
           element == VT_VARIANT;
}

UniqueSafeArray makeArray(const host::DoubleArray& array, VARTYPE element) {
    if (!isArrayElement(element)) {
        throw host::typeMismatchError();
    }
    SAFEARRAYBOUND bound{static_cast<ULONG>(array.items.size()), array.lowerBound};
    UniqueSafeArray result(SafeArrayCreate(element, 1, &bound));
    if (!result) {
        throw std::bad_alloc();
    }
    if (array.items.empty()) {
        return result;
    }
    SafeArrayLock lock(result.get());
    switch (element) {
        case VT_R4:
            storeAll<float>(array.items, lock.data(), toFloat);
            break;
        case VT_I2:
            storeAll<SHORT>(array.items, lock.data(), toShort);
            break;
        case VT_I4:
            storeAll<LONG>(array.items, lock.data(), toLong);
            break;
        case VT_VARIANT: {
            auto* first = static_cast<VARIANT*>(lock.data());
            for (std::size_t i = 0; i < array.items.size(); ++i) {
                first[i].vt = VT_R8;
                first[i].dblVal = array.items[i];
            }
            break;
        }
        default:
            storeAll<double>(array.items, lock.data(), toDouble);
            break;
    }
    return result;
}

host::DoubleArray readDoubleArray(SAFEARRAY* array, const VariantToDouble& element) {
    VARTYPE elementType = VT_EMPTY;
    if (array == nullptr || SafeArrayGetDim(array) != 1 ||
        FAILED(SafeArrayGetVartype(array, &elementType))) {
        throw host::typeMismatchError();
    }
    const bool numeric = elementType == VT_R8 || elementType == VT_R4 || elementType == VT_I1 ||
                         elementType == VT_UI1 || elementType == VT_I2 || elementType == VT_UI2 ||
                         elementType == VT_I4 || elementType == VT_UI4 || elementType == VT_INT ||
                         elementType == VT_UINT;
    if (!numeric && (elementType != VT_VARIANT || !element)) {
        throw host::typeMismatchError();
    }
    LONG lower = 0;
    LONG upper = 0;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    host::DoubleArray result;
    result.lowerBound = lower;
    if (upper < lower) {
        return result;
    }
    const auto count = static_cast<std::size_t>(static_cast<long long>(upper) - lower + 1);
    SafeArrayLock lock(array);
    std::vector<double>& items = result.items;
    items.reserve(count);
    switch (elementType) {
        case VT_R8:
            appendAll<double>(items, lock.data(), count);
            break;
        case VT_R4:
            appendAll<float>(items, lock.data(), count);
            break;
        case VT_I1:
            appendAll<signed char>(items, lock.data(), count);
            break;
        case VT_UI1:
            appendAll<unsigned char>(items, lock.data(), count);
            break;
        case VT_I2:
            appendAll<SHORT>(items, lock.data(), count);
            break;
        case VT_UI2:
            appendAll<USHORT>(items, lock.data(), count);
            break;
        case VT_I4:
        case VT_INT:
            appendAll<LONG>(items, lock.data(), count);
            break;
        case VT_UI4:
        case VT_UINT:
            appendAll<ULONG>(items, lock.data(), count);
            break;
        default: {
            const auto* first = static_cast<const VARIANT*>(lock.data());
            for (std::size_t i = 0; i < count; ++i) {
                items.push_back(element(first[i]));
            }
            break;
        }
    }
    return result;
}

}  // namespace tav::com

#include "host/com/safe_array.h"

#include <algorithm>
#include <new>
#include <utility>

#include "host/com/hresult_error.h"
#include "host/error.h"

namespace tav::com {

SafeArray::~SafeArray() {
    if (array_ != nullptr) {
        SafeArrayDestroy(array_);
    }
}

SafeArray::SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}

SafeArray& SafeArray::operator=(SafeArray&& other) noexcept {
    if (this != &other) {
        SafeArray old(std::exchange(array_, std::exchange(other.array_, nullptr)));
    }
    return *this;
}

SAFEARRAY* SafeArray::release() {
    return std::exchange(array_, nullptr);
}

SAFEARRAY** SafeArray::receive() {
    SafeArray old(std::exchange(array_, nullptr));
    return &array_;
}

SafeArrayLock::SafeArrayLock(SAFEARRAY* array) : array_(array) {
    HRESULT hr = SafeArrayAccessData(array_, &data_);
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
}

SafeArrayLock::~SafeArrayLock() {
    SafeArrayUnaccessData(array_);
}

SafeArray makeDoubleArray(const host::DoubleArray& array) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(array.items.size()), array.lowerBound};
    SafeArray result(SafeArrayCreate(VT_R8, 1, &bound));
    if (result.get() == nullptr) {
        throw std::bad_alloc();
    }
    if (!array.items.empty()) {
        SafeArrayLock lock(result.get());
        std::copy(array.items.begin(), array.items.end(), static_cast<double*>(lock.data()));
    }
    return result;
}

host::DoubleArray readDoubleArray(SAFEARRAY* array, const VariantToDouble& element) {
    VARTYPE elementType = VT_EMPTY;
    if (array == nullptr || SafeArrayGetDim(array) != 1 ||
        FAILED(SafeArrayGetVartype(array, &elementType)) ||
        (elementType != VT_R8 && (elementType != VT_VARIANT || !element))) {
        throw host::typeMismatchError();
    }
    LONG lower = 0;
    LONG upper = 0;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    host::DoubleArray result;
    result.lowerBound = lower;
    if (upper >= lower) {
        const auto count = static_cast<std::size_t>(static_cast<long long>(upper) - lower + 1);
        SafeArrayLock lock(array);
        if (elementType == VT_R8) {
            const auto* first = static_cast<const double*>(lock.data());
            result.items.assign(first, first + count);
        } else {
            const auto* first = static_cast<const VARIANT*>(lock.data());
            for (std::size_t i = 0; i < count; ++i) {
                result.items.push_back(element(first[i]));
            }
        }
    }
    return result;
}

}  // namespace tav::com

#include "host/com/variant_value.h"

#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

#include "host/com/bstr.h"
#include "host/com/safe_array.h"
#include "host/conversions.h"
#include "host/error.h"

namespace tav::com {
namespace {

using Microsoft::WRL::ComPtr;

// The largest integer below which every integer is exact as a double.
constexpr double exactDoubleLimit = 9007199254740992.0;  // 2^53

host::Value fromWideInteger(long double value) {
    if (value >= static_cast<long double>(std::numeric_limits<std::int32_t>::min()) &&
        value <= static_cast<long double>(std::numeric_limits<std::int32_t>::max())) {
        return static_cast<std::int32_t>(value);
    }
    if (std::fabs(value) <= static_cast<long double>(exactDoubleLimit)) {
        return static_cast<double>(value);
    }
    throw host::overflowError();
}

host::Value fromDispatch(IDispatch* dispatch, const DispatchToObject& objects) {
    if (dispatch == nullptr) {
        return host::ObjectRef{};
    }
    return objects(ComPtr<IDispatch>(dispatch));
}

host::Value fromUnknown(IUnknown* unknown, const DispatchToObject& objects) {
    if (unknown == nullptr) {
        return host::ObjectRef{};
    }
    ComPtr<IDispatch> dispatch;
    if (FAILED(unknown->QueryInterface(IID_PPV_ARGS(&dispatch)))) {
        throw host::typeMismatchError();
    }
    return objects(dispatch);
}

double fromDecimal(DECIMAL decimal) {
    // A copy: MinGW declares the argument non-const, the Windows SDK const.
    double result = 0.0;
    if (FAILED(VarR8FromDec(&decimal, &result))) {
        throw host::overflowError();
    }
    return result;
}

// An array of the colour query: doubles, or variants that each hold a
// number (taken as a double as any number is). Arrays have their own element
// type, whatever the VARIANT around them says.
host::DoubleArray doublesOf(SAFEARRAY* array) {
    return readDoubleArray(array, [](const VARIANT& element) {
        const DispatchToObject noObjects = [](ComPtr<IDispatch>) -> host::ObjectRef {
            throw host::typeMismatchError();  // an object is no number
        };
        return host::toDouble(fromVariant(element, noObjects));
    });
}

VARIANT_BOOL variantBool(bool value) {
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

ComPtr<IDispatch> dispatchOf(const host::Value& value, const ObjectToDispatch& objects) {
    host::ObjectRef ref = host::toObject(value);
    if (ref.empty()) {
        return nullptr;
    }
    return objects(ref);
}

}  // namespace

Variant toVariant(const host::Value& value, const ObjectToDispatch& objects) {
    Variant result;
    VARIANT& v = result.get();
    std::visit(
        [&](const auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, host::Value::Empty>) {
                v.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, bool>) {
                v.vt = VT_BOOL;
                v.boolVal = variantBool(item);
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                v.vt = VT_I2;
                v.iVal = item;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                v.vt = VT_I4;
                v.lVal = item;
            } else if constexpr (std::is_same_v<T, float>) {
                v.vt = VT_R4;
                v.fltVal = item;
            } else if constexpr (std::is_same_v<T, double>) {
                v.vt = VT_R8;
                v.dblVal = item;
            } else if constexpr (std::is_same_v<T, std::u16string>) {
                v.bstrVal = bstrOf(item).release();
                v.vt = VT_BSTR;
            } else if constexpr (std::is_same_v<T, host::ObjectRef>) {
                v.pdispVal = item.empty() ? nullptr : objects(item).Detach();
                v.vt = VT_DISPATCH;
            } else if constexpr (std::is_same_v<T, host::DoubleArray>) {
                v.parray = makeArray(item).release();
                v.vt = VT_ARRAY | VT_R8;
            }
        },
        value.storage());
    return result;
}

void* byReferenceAddress(VARIANT& storage) {
    if ((storage.vt & VT_ARRAY) != 0) {
        return &storage.parray;
    }
    switch (storage.vt) {
        case VT_BOOL:
            return &storage.boolVal;
        case VT_I2:
            return &storage.iVal;
        case VT_I4:
            return &storage.lVal;
        case VT_R4:
            return &storage.fltVal;
        case VT_R8:
            return &storage.dblVal;
        case VT_BSTR:
            return &storage.bstrVal;
        case VT_DISPATCH:
            return &storage.pdispVal;
        default:
            break;
    }
    throw host::typeMismatchError();  // Empty cannot be passed by reference
}

Variant toVariantOf(const host::Value& value, VARTYPE type, const ObjectToDispatch& objects) {
    Variant result;
    VARIANT& v = result.get();
    if ((type & VT_ARRAY) != 0) {
        const auto* array = value.getIf<host::DoubleArray>();
        if (array == nullptr) {
            throw host::typeMismatchError();
        }
        const auto element = static_cast<VARTYPE>(type & ~VT_ARRAY);
        v.parray = makeArray(*array, element).release();
        v.vt = static_cast<VARTYPE>(VT_ARRAY | element);
        return result;
    }
    switch (type) {
        case VT_VARIANT:
            return toVariant(value, objects);
        case VT_BOOL:
            v.boolVal = variantBool(host::toBool(value));
            break;
        case VT_I2:
            v.iVal = host::toInt16(value);
            break;
        case VT_I4:
            v.lVal = host::toInt32(value);
            break;
        case VT_R4:
            v.fltVal = host::toSingle(value);
            break;
        case VT_R8:
            v.dblVal = host::toDouble(value);
            break;
        case VT_BSTR:
            v.bstrVal = bstrOf(host::toText(value)).release();
            break;
        case VT_DISPATCH:
            v.pdispVal = dispatchOf(value, objects).Detach();
            break;
        default:
            throw host::typeMismatchError();
    }
    v.vt = type;
    return result;
}

host::Value fromVariant(const VARIANT& variant, const DispatchToObject& objects) {
    const bool byRef = (variant.vt & VT_BYREF) != 0;
    const VARTYPE type = static_cast<VARTYPE>(variant.vt & ~VT_BYREF);
    // Reads the member by value or through its reference, whichever it is.
    auto read = [byRef](const auto& direct, const auto* reference) {
        return byRef ? *reference : direct;
    };
    if (byRef && variant.byref == nullptr) {
        throw host::typeMismatchError();
    }
    if ((type & VT_ARRAY) != 0) {
        // The array knows its own element type, whatever the VARIANT says.
        return doublesOf(read(variant.parray, variant.pparray));
    }
    switch (type) {
        case VT_EMPTY:
            return {};
        case VT_BOOL:
            return read(variant.boolVal, variant.pboolVal) != VARIANT_FALSE;
        case VT_I2:
            return static_cast<std::int16_t>(read(variant.iVal, variant.piVal));
        case VT_I1:
            return static_cast<std::int16_t>(read(variant.cVal, variant.pcVal));
        case VT_UI1:
            return static_cast<std::int16_t>(read(variant.bVal, variant.pbVal));
        case VT_I4:
            return static_cast<std::int32_t>(read(variant.lVal, variant.plVal));
        case VT_INT:
            return static_cast<std::int32_t>(read(variant.intVal, variant.pintVal));
        case VT_UI2:
            return static_cast<std::int32_t>(read(variant.uiVal, variant.puiVal));
        case VT_UI4:
            return fromWideInteger(read(variant.ulVal, variant.pulVal));
        case VT_UINT:
            return fromWideInteger(read(variant.uintVal, variant.puintVal));
        case VT_I8:
            return fromWideInteger(static_cast<long double>(read(variant.llVal, variant.pllVal)));
        case VT_UI8:
            return fromWideInteger(static_cast<long double>(read(variant.ullVal, variant.pullVal)));
        case VT_R4:
            return read(variant.fltVal, variant.pfltVal);
        case VT_R8:
            return read(variant.dblVal, variant.pdblVal);
        case VT_DATE:
            return static_cast<double>(read(variant.date, variant.pdate));
        case VT_CY:
            return static_cast<double>(read(variant.cyVal, variant.pcyVal).int64) / 10000.0;
        case VT_DECIMAL:
            return fromDecimal(byRef ? *variant.pdecVal : variant.decVal);
        case VT_BSTR:
            return textOf(read(variant.bstrVal, variant.pbstrVal));
        case VT_DISPATCH:
            return fromDispatch(read(variant.pdispVal, variant.ppdispVal), objects);
        case VT_UNKNOWN:
            return fromUnknown(read(variant.punkVal, variant.ppunkVal), objects);
        case VT_VARIANT:
            if (byRef) {
                return fromVariant(*variant.pvarVal, objects);
            }
            break;
        default:
            break;
    }
    throw host::typeMismatchError();
}

void writeThrough(const VARIANT& target, const host::Value& value, const ObjectToDispatch& objects,
                  VARTYPE arrayElement) {
    if ((target.vt & VT_BYREF) == 0 || target.byref == nullptr) {
        throw host::typeMismatchError();
    }
    const auto pointee = static_cast<VARTYPE>(target.vt & ~VT_BYREF);
    if (pointee == VT_VARIANT) {
        Variant replacement = value.holds<host::DoubleArray>()
                                  ? toVariantOf(value, VT_ARRAY | arrayElement, objects)
                                  : toVariant(value, objects);
        VariantClear(target.pvarVal);
        replacement.releaseInto(*target.pvarVal);
        return;
    }
    // Converted first: a value that does not convert leaves the target as it was.
    Variant replacement = toVariantOf(value, pointee, objects);
    VARIANT& made = replacement.get();
    if ((pointee & VT_ARRAY) != 0) {
        UniqueSafeArray old(*target.pparray);
        *target.pparray = std::exchange(made.parray, nullptr);
        made.vt = VT_EMPTY;
        return;
    }
    switch (pointee) {
        case VT_BOOL:
            *target.pboolVal = made.boolVal;
            return;
        case VT_I2:
            *target.piVal = made.iVal;
            return;
        case VT_I4:
            *target.plVal = made.lVal;
            return;
        case VT_R4:
            *target.pfltVal = made.fltVal;
            return;
        case VT_R8:
            *target.pdblVal = made.dblVal;
            return;
        case VT_BSTR: {
            const UniqueBstr old(*target.pbstrVal);
            *target.pbstrVal = std::exchange(made.bstrVal, nullptr);
            made.vt = VT_EMPTY;
            return;
        }
        case VT_DISPATCH:
            if (*target.ppdispVal != nullptr) {
                (*target.ppdispVal)->Release();
            }
            *target.ppdispVal = std::exchange(made.pdispVal, nullptr);
            made.vt = VT_EMPTY;
            return;
        default:
            break;
    }
    throw host::typeMismatchError();
}

}  // namespace tav::com

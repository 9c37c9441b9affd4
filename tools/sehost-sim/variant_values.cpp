#include "tools/sehost-sim/variant_values.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "host/error.h"

namespace tav::sehost {
namespace {

std::u16string fromBstr(BSTR text) {
    const UINT length = text == nullptr ? 0 : SysStringLen(text);
    std::u16string out(length, u'\0');
    for (UINT i = 0; i < length; ++i) {
        out[i] = static_cast<char16_t>(text[i]);
    }
    return out;
}

BSTR toBstr(const std::u16string& text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        wide[i] = static_cast<wchar_t>(text[i]);
    }
    BSTR out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (out == nullptr) {
        throw std::bad_alloc();
    }
    return out;
}

struct SafeArrayDestroyer {
    void operator()(SAFEARRAY* array) const { SafeArrayDestroy(array); }
};
using SafeArrayOwner = std::unique_ptr<SAFEARRAY, SafeArrayDestroyer>;

// Holds the array's data locked for the scope.
class SafeArrayData {
  public:
    explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
        if (FAILED(SafeArrayAccessData(array_, &data_))) {
            throw host::typeMismatchError();
        }
    }
    ~SafeArrayData() { SafeArrayUnaccessData(array_); }
    SafeArrayData(const SafeArrayData&) = delete;
    SafeArrayData& operator=(const SafeArrayData&) = delete;
    double* doubles() const { return static_cast<double*>(data_); }

  private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

host::DoubleArray fromSafeArray(SAFEARRAY* array) {
    VARTYPE type = VT_EMPTY;
    if (array == nullptr || SafeArrayGetDim(array) != 1 ||
        FAILED(SafeArrayGetVartype(array, &type)) || type != VT_R8) {
        throw host::typeMismatchError();
    }
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    host::DoubleArray out;
    out.lowerBound = lower;
    const SafeArrayData data(array);
    out.items.assign(data.doubles(), data.doubles() + (upper - lower + 1));
    return out;
}

SAFEARRAY* toSafeArray(const host::DoubleArray& value) {
    SafeArrayOwner array(
        SafeArrayCreateVector(VT_R8, value.lowerBound, static_cast<ULONG>(value.items.size())));
    if (!array) {
        throw std::bad_alloc();
    }
    {
        const SafeArrayData data(array.get());
        for (std::size_t i = 0; i < value.items.size(); ++i) {
            data.doubles()[i] = value.items[i];
        }
    }
    return array.release();
}

template <class T>
const T& required(const host::Value& value) {
    const T* held = value.getIf<T>();
    if (held == nullptr) {
        throw host::typeMismatchError();
    }
    return *held;
}

double numberOf(const host::Value& value) {
    if (const auto* d = value.getIf<double>()) {
        return *d;
    }
    if (const auto* f = value.getIf<float>()) {
        return static_cast<double>(*f);
    }
    if (const auto* i = value.getIf<std::int32_t>()) {
        return static_cast<double>(*i);
    }
    if (const auto* s = value.getIf<std::int16_t>()) {
        return static_cast<double>(*s);
    }
    throw host::typeMismatchError();
}

std::int32_t longOf(const host::Value& value) {
    if (const auto* i = value.getIf<std::int32_t>()) {
        return *i;
    }
    if (const auto* s = value.getIf<std::int16_t>()) {
        return *s;
    }
    throw host::typeMismatchError();
}

}  // namespace

host::Value argumentValue(const VARIANT& argument, const ObjectFromDispatch& unwrap) {
    const bool byRef = (argument.vt & VT_BYREF) != 0;
    const VARTYPE type = static_cast<VARTYPE>(argument.vt & ~VT_BYREF);
    if (byRef && type == VT_VARIANT) {
        return argumentValue(*argument.pvarVal, unwrap);
    }
    switch (type) {
        case VT_EMPTY:
            return {};
        case VT_ERROR:
            // A missing optional argument.
            return {};
        case VT_BOOL:
            return (byRef ? *argument.pboolVal : argument.boolVal) != VARIANT_FALSE;
        case VT_I2:
            return static_cast<std::int16_t>(byRef ? *argument.piVal : argument.iVal);
        case VT_I4:
            return static_cast<std::int32_t>(byRef ? *argument.plVal : argument.lVal);
        case VT_R4:
            return byRef ? *argument.pfltVal : argument.fltVal;
        case VT_R8:
            return byRef ? *argument.pdblVal : argument.dblVal;
        case VT_BSTR:
            return fromBstr(byRef ? *argument.pbstrVal : argument.bstrVal);
        case VT_DISPATCH:
            return unwrap(byRef ? *argument.ppdispVal : argument.pdispVal);
        case VT_UNKNOWN: {
            IUnknown* unknown = byRef ? *argument.ppunkVal : argument.punkVal;
            if (unknown == nullptr) {
                return unwrap(nullptr);
            }
            Microsoft::WRL::ComPtr<IDispatch> dispatch;
            if (FAILED(unknown->QueryInterface(IID_PPV_ARGS(&dispatch)))) {
                throw host::typeMismatchError();
            }
            return unwrap(dispatch.Get());
        }
        case VT_ARRAY | VT_R8:
            return fromSafeArray(byRef ? *argument.pparray : argument.parray);
        default:
            throw host::typeMismatchError();
    }
}

void writeBack(const VARIANT& argument, const host::Value& value) {
    if ((argument.vt & VT_BYREF) == 0) {
        return;
    }
    switch (argument.vt & ~VT_BYREF) {
        case VT_BOOL:
            *argument.pboolVal = required<bool>(value) ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        case VT_I2:
            *argument.piVal = static_cast<SHORT>(required<std::int16_t>(value));
            return;
        case VT_I4:
            *argument.plVal = static_cast<LONG>(longOf(value));
            return;
        case VT_R4:
            *argument.pfltVal = static_cast<float>(numberOf(value));
            return;
        case VT_R8:
            *argument.pdblVal = numberOf(value);
            return;
        case VT_BSTR: {
            BSTR text = toBstr(required<std::u16string>(value));
            SysFreeString(*argument.pbstrVal);
            *argument.pbstrVal = text;
            return;
        }
        case VT_ARRAY | VT_R8: {
            SAFEARRAY* array = toSafeArray(required<host::DoubleArray>(value));
            SafeArrayDestroy(*argument.pparray);
            *argument.pparray = array;
            return;
        }
        default:
            // An argument type the host never writes back into.
            return;
    }
}

void resultVariant(const host::Value& value, VARIANT& out, const DispatchFromObject& wrap) {
    std::visit(
        [&](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, host::Value::Empty>) {
                out.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, bool>) {
                out.vt = VT_BOOL;
                out.boolVal = held ? VARIANT_TRUE : VARIANT_FALSE;
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                out.vt = VT_I2;
                out.iVal = held;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                out.vt = VT_I4;
                out.lVal = held;
            } else if constexpr (std::is_same_v<T, float>) {
                out.vt = VT_R4;
                out.fltVal = held;
            } else if constexpr (std::is_same_v<T, double>) {
                out.vt = VT_R8;
                out.dblVal = held;
            } else if constexpr (std::is_same_v<T, std::u16string>) {
                out.bstrVal = toBstr(held);
                out.vt = VT_BSTR;
            } else if constexpr (std::is_same_v<T, host::ObjectRef>) {
                out.pdispVal = wrap(held);
                out.vt = VT_DISPATCH;
            } else {
                out.parray = toSafeArray(held);
                out.vt = VT_ARRAY | VT_R8;
            }
        },
        value.storage());
}

}  // namespace tav::sehost

#include "probe/raw_calls.h"

#include <vector>

#include "host/com/automation_errors.h"

namespace tav::probe {
namespace {

RawAnswer invoke(com::CallWatch& calls, IDispatch* object, DISPID member, WORD flags,
                 std::span<VARIANT> args) {
    // DISPPARAMS holds the arguments last first; they stay the caller's.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    RawAnswer answer;
    answer.hr = calls.run([&] {
        EXCEPINFO exception{};
        UINT argumentError = 0;
        const HRESULT hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                          answer.value.receive(), &exception, &argumentError);
        com::clearExceptionInfo(exception);
        return hr;
    });
    return answer;
}

}  // namespace

RawAnswer readMember(com::CallWatch& calls, IDispatch* object, DISPID member,
                     std::span<VARIANT> args) {
    return invoke(calls, object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}

RawAnswer callQuery(com::CallWatch& calls, IDispatch* object, DISPID member,
                    std::span<VARIANT> args) {
    return invoke(calls, object, member, DISPATCH_METHOD, args);
}

NameAnswer idOfName(com::CallWatch& calls, IDispatch* object, std::u16string_view name) {
    std::u16string text(name);
    LPOLESTR names[1] = {reinterpret_cast<LPOLESTR>(text.data())};
    NameAnswer answer;
    answer.hr = calls.run(
        [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &answer.id); });
    return answer;
}

Microsoft::WRL::ComPtr<IDispatch> objectIn(const VARIANT& value) {
    Microsoft::WRL::ComPtr<IDispatch> object;
    if (value.vt == VT_DISPATCH) {
        object = value.pdispVal;
    } else if (value.vt == VT_UNKNOWN && value.punkVal != nullptr) {
        value.punkVal->QueryInterface(IID_PPV_ARGS(object.GetAddressOf()));
    }
    return object;
}

VARIANT indexArgument(short index) {
    VARIANT argument{};
    argument.vt = VT_I2;
    argument.iVal = index;
    return argument;
}

}  // namespace tav::probe

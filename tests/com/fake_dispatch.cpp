#include "tests/com/fake_dispatch.h"

#include <algorithm>

namespace tav::com::test {

void* FakeDispatch::interfaceFor(REFIID iid) {
    if (IsEqualIID(iid, IID_IDispatch)) {
        return static_cast<IDispatch*>(this);
    }
    ++queries;
    if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
        return reportsErrorObjects ? static_cast<ISupportErrorInfo*>(this) : nullptr;
    }
    const bool extra = std::any_of(extraInterfaces.begin(), extraInterfaces.end(),
                                   [&](const IID& other) { return IsEqualIID(iid, other); });
    return extra ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT STDMETHODCALLTYPE FakeDispatch::GetTypeInfoCount(UINT* count) {
    *count = typeInfo != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    ++typeInfoRequests;
    *info = typeInfo;
    if (typeInfo == nullptr) {
        return typeInfoAnswer;
    }
    typeInfo->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeDispatch::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IDispatch) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* requested, UINT count, LCID,
                                                      DISPID* ids) {
    ++nameLookups;
    for (UINT i = 0; i < count; ++i) {
        auto found = names.find(reinterpret_cast<const char16_t*>(requested[i]));
        if (found == names.end()) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[i] = found->second;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeDispatch::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT*) {
    ReceivedCall call{member, flags, {}, {}};
    std::vector<VARIANT*> args;
    for (UINT i = params->cArgs; i > 0; --i) {
        args.push_back(&params->rgvarg[i - 1]);
        call.argTypes.push_back(params->rgvarg[i - 1].vt);
    }
    call.namedArgs.assign(params->rgdispidNamedArgs,
                          params->rgdispidNamedArgs + params->cNamedArgs);
    calls.push_back(call);
    if (!handler_) {
        return S_OK;
    }
    return handler_(member, args, result, exception);
}

}  // namespace tav::com::test

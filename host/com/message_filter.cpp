#include "host/com/message_filter.h"

namespace tav::com {
namespace {

// RetryRejectedCall's answer for "give up": the call fails with the rejection.
constexpr DWORD cancelCall = static_cast<DWORD>(-1);

}  // namespace

HRESULT STDMETHODCALLTYPE BusyHostFilter::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
        *object = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE BusyHostFilter::AddRef() {
    return ++references_;
}

ULONG STDMETHODCALLTYPE BusyHostFilter::Release() {
    return --references_;
}

DWORD STDMETHODCALLTYPE BusyHostFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;  // the tool serves nothing; callbacks run as they come
}

DWORD STDMETHODCALLTYPE BusyHostFilter::RetryRejectedCall(HTASK, DWORD tickCount,
                                                          DWORD rejectType) {
    return watch_.retryDelay(rejectType, tickCount).value_or(cancelCall);
}

DWORD STDMETHODCALLTYPE BusyHostFilter::MessagePending(HTASK, DWORD, DWORD) {
    watch_.check();
    return PENDINGMSG_WAITDEFPROCESS;  // keep painting while a call is out
}

}  // namespace tav::com

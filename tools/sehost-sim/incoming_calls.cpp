#include "tools/sehost-sim/incoming_calls.h"

#include "platform/win/exception_barrier.h"
#include "tools/sehost-sim/host_classes.h"

namespace tav::sehost {
namespace {

// IDispatch's methods after IUnknown's three: GetTypeInfoCount 3,
// GetTypeInfo 4, GetIDsOfNames 5, Invoke 6.
constexpr WORD invokeMethod = 6;

bool isInvoke(const INTERFACEINFO* info) {
    return info != nullptr && info->wMethod == invokeMethod &&
           (IsEqualIID(info->iid, IID_IDispatch) || isHostInterface(info->iid));
}

}  // namespace

IncomingCallFilter::IncomingCallFilter(sim::BusyHost busy, std::shared_ptr<ServedHost> servedHost)
    : busy_(busy), servedHost_(std::move(servedHost)) {}

DWORD STDMETHODCALLTYPE IncomingCallFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                               LPINTERFACEINFO interfaceInfo) {
    // Whatever happens in the counting, the call itself is served.
    return platform::guardComCall(DWORD{SERVERCALL_ISHANDLED}, [&]() -> DWORD {
        RoundTrips& roundTrips = servedHost_->roundTrips;
        if (isInvoke(interfaceInfo) && servedHost_->nextCallNumber() == busy_.call &&
            roundTrips.rejected < busy_.rejections) {
            ++roundTrips.rejected;
            return SERVERCALL_REJECTED;
        }
        roundTrips.count(interfaceInfo);
        return SERVERCALL_ISHANDLED;
    });
}

DWORD STDMETHODCALLTYPE IncomingCallFilter::RetryRejectedCall(HTASK, DWORD, DWORD) {
    // The server makes no calls of its own.
    return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE IncomingCallFilter::MessagePending(HTASK, DWORD, DWORD) {
    return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace tav::sehost

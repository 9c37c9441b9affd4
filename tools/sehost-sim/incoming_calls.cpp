#include "tools/sehost-sim/incoming_calls.h"

#include "platform/win/exception_barrier.h"
#include "tools/sehost-sim/host_classes.h"

namespace tav::sehost {
IncomingCallFilter::IncomingCallFilter(sim::BusyHost busy, sim::ComStrictness::BusyKinds kinds,
                                       std::shared_ptr<ServedHost> servedHost)
    : busy_(busy), kinds_(kinds), servedHost_(std::move(servedHost)) {}

bool IncomingCallFilter::rejects(const INTERFACEINFO* call) const {
    if (servedHost_->roundTrips.rejected >= busy_.rejections) {
        return false;
    }
    if (kinds_ == sim::ComStrictness::BusyKinds::all) {
        // Busy once host call N-1 has been answered.
        return servedHost_->inspector.hostCalls() >= busy_.call - 1;
    }
    const bool onServedInterface =
        call != nullptr && isServedInterface(servedHost_->library, call->iid);
    return isDispatchCall(call, onServedInterface, invokeMethod()) &&
           servedHost_->nextCallNumber() == busy_.call;
}

DWORD STDMETHODCALLTYPE IncomingCallFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                               LPINTERFACEINFO interfaceInfo) {
    // Whatever happens in the counting, the call itself is served.
    return platform::guardComCall(DWORD{SERVERCALL_ISHANDLED}, [&]() -> DWORD {
        RoundTrips& roundTrips = servedHost_->roundTrips;
        if (rejects(interfaceInfo)) {
            ++roundTrips.rejected;
            if (isReleaseCall(interfaceInfo)) {
                ++roundTrips.rejectedReleases;
            } else if (isAddRefCall(interfaceInfo)) {
                ++roundTrips.rejectedAddRefs;
            }
            return SERVERCALL_REJECTED;
        }
        roundTrips.count(interfaceInfo,
                         interfaceInfo != nullptr &&
                             isServedInterface(servedHost_->library, interfaceInfo->iid));
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

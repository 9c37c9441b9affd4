#include "host/com/message_filter.h"

#include "platform/win/exception_barrier.h"

namespace tav::com {
namespace {

// RetryRejectedCall's answer for "give up": the call fails with the rejection.
constexpr DWORD cancelCall = static_cast<DWORD>(-1);

}  // namespace

DWORD STDMETHODCALLTYPE BusyHostFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;  // the tool serves nothing; callbacks run as they come
}

DWORD STDMETHODCALLTYPE BusyHostFilter::RetryRejectedCall(HTASK, DWORD tickCount,
                                                          DWORD rejectType) {
    return platform::guardComCall(
        cancelCall, [&] { return watch_.retryDelay(rejectType, tickCount).value_or(cancelCall); });
}

DWORD STDMETHODCALLTYPE BusyHostFilter::MessagePending(HTASK, DWORD, DWORD) {
    // Keep painting while a call is out, whatever the watch's notice did.
    constexpr DWORD keepPainting = PENDINGMSG_WAITDEFPROCESS;
    return platform::guardComCall(keepPainting, [&] {
        watch_.check();
        return keepPainting;
    });
}

}  // namespace tav::com

// The client's OLE message filter. On Windows the runtime asks it what to do
// when the host rejects a call (RetryRejectedCall): it answers from the call
// watch, so the runtime's retries and the Invoke helper's own share one
// deadline. While a call is out the runtime tells it that messages arrive
// (MessagePending): the watch then looks whether the call has been out long
// enough to tell the user. (Wine never calls RetryRejectedCall; the Invoke
// helper's loop covers that.)
#pragma once

#include <windows.h>

#include <objidl.h>

#include "host/com/call_watch.h"
#include "platform/win/com_object.h"

namespace tav::com {

// Lives as long as its owner (the apartment), which revokes it first.
class BusyHostFilter final : public platform::OwnedComObject<IMessageFilter> {
  public:
    explicit BusyHostFilter(CallWatch& watch) : watch_(watch) {}

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

  private:
    CallWatch& watch_;
};

}  // namespace tav::com

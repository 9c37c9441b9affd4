// The client's OLE message filter: on Windows, the runtime asks it what to do
// when the host rejects a call (RetryRejectedCall); it answers with the same
// policy as the Invoke helper's own retry: try again after the delay until the
// bound has passed. (Wine never asks it; the Invoke helper's loop covers that.)
#pragma once

#include <windows.h>

#include <objidl.h>

#include <atomic>

#include "host/com/busy_host.h"

namespace tav::com {

class BusyHostFilter final : public IMessageFilter {
  public:
    explicit BusyHostFilter(BusyRetryPolicy policy) : policy_(policy) {}

    // IUnknown. The filter lives as long as its owner (the apartment), which
    // revokes it first: the count is kept for COM's sake only.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IMessageFilter.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

  private:
    BusyRetryPolicy policy_;
    std::atomic<ULONG> references_{0};
};

}  // namespace tav::com

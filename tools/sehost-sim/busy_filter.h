// The server's message filter: a host that shows a modal dialog rejects the
// calls that arrive meanwhile. With a scene's `busy` key, the Invoke that
// would be host call N is rejected K times (the client sees
// RPC_E_CALL_REJECTED) before it is served. Only Invoke is ever rejected: the
// runtime's own calls (QueryInterface and Release through IRemUnknown) and
// name lookups always pass.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <cstdint>
#include <memory>

#include "host/sim/scene.h"
#include "tools/sehost-sim/com_object.h"
#include "tools/sehost-sim/served_object.h"

namespace tav::sehost {

class BusyFilter final : public ComObject<IMessageFilter> {
  public:
    BusyFilter(sim::BusyHost busy, std::shared_ptr<const ServedHost> servedHost);

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO interfaceInfo) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

    std::int32_t rejected() const { return rejected_; }

  private:
    sim::BusyHost busy_;
    std::shared_ptr<const ServedHost> servedHost_;
    std::int32_t rejected_ = 0;
};

// Installs a filter for the apartment and puts the previous one back when it goes.
class InstalledFilter {
  public:
    explicit InstalledFilter(IMessageFilter* filter);
    ~InstalledFilter();
    InstalledFilter(const InstalledFilter&) = delete;
    InstalledFilter& operator=(const InstalledFilter&) = delete;

  private:
    Microsoft::WRL::ComPtr<IMessageFilter> previous_;
};

}  // namespace tav::sehost

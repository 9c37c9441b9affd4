// The server's message filter, which COM asks about every call that comes in
// from a client: it counts each one by kind (round_trips.h), and it plays a
// host that shows a modal dialog and rejects the calls that arrive meanwhile.
// With a scene's `busy` key, the Invoke that would be host call N is rejected
// K times (the client sees RPC_E_CALL_REJECTED) before it is served. By
// default only Invoke is ever rejected: the runtime's own calls
// (QueryInterface and Release through IRemUnknown), name lookups and type
// information always pass. With `com.busyKinds` "all" the host is busy as
// one showing a modal dialog is: from its answer to host call N-1 (N = 1:
// from the first call that comes in) every incoming call of any kind is
// rejected until K have been, host call N's tries included; the releases
// among them are counted, as the host keeps those references.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <cstdint>
#include <memory>

#include "host/sim/scene.h"
#include "platform/win/com_object.h"
#include "tools/sehost-sim/round_trips.h"
#include "tools/sehost-sim/served_object.h"

namespace tav::sehost {

class IncomingCallFilter final : public platform::ComObject<IMessageFilter> {
  public:
    IncomingCallFilter(sim::BusyHost busy, sim::ComStrictness::BusyKinds kinds,
                       std::shared_ptr<ServedHost> servedHost);

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO interfaceInfo) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) override;

  private:
    bool rejects(const INTERFACEINFO* call) const;

    sim::BusyHost busy_;
    sim::ComStrictness::BusyKinds kinds_;
    std::shared_ptr<ServedHost> servedHost_;
};

}  // namespace tav::sehost

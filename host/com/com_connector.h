// Finding the running Solid Edge over COM: its class id by programmatic
// identifier, then the instance in the running-object table. The host is
// never started (no CoCreateInstance): when none runs, the lookup's HRESULT
// is the error (MK_E_UNAVAILABLE, or CO_E_CLASSSTRING when the identifier is
// not registered at all).
#pragma once

#include <memory>

#include "host/com/call_watch.h"
#include "host/com/dispatch_object.h"
#include "host/host_connector.h"

namespace tav::com {

// The running object registered in the running-object table under
// `classId`, as its dispatch interface, into `application`. A host busy
// with a dialog rejects even these first calls: they are waited for as any
// call is. Returns S_OK, or the HRESULT of the step that failed.
HRESULT findRunning(CallWatch& calls, const CLSID& classId,
                    Microsoft::WRL::ComPtr<IDispatch>& application);

class ComConnector final : public host::HostConnector {
  public:
    // `calls`: the watch of the apartment the connector's objects live in.
    explicit ComConnector(CallWatch& calls);

    host::ObjectRef getRunning(std::u16string_view progId) override;

    // Host calls made through this connector's objects so far.
    std::int32_t hostCalls() const { return connection_->hostCalls; }
    const Connection& connection() const { return *connection_; }
    // Lets the host bring a window of its own (a dialog it shows inside a
    // call) in front of the tool's: Windows gives the foreground only to the
    // program the user works with. Not a host call; where COM cannot pass
    // the permission on, nothing happens.
    static void allowToComeToFront(const host::ObjectRef& application);
    // Gives back what the connection itself keeps of the host (the type
    // information that tells classes apart), before the program ends.
    void releaseKept() { connection_->classes.clear(); }

  private:
    std::shared_ptr<Connection> connection_;
};

}  // namespace tav::com

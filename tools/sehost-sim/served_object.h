// One object of the simulated host, served to clients over COM.
//
// Every reference the simulated host hands out becomes a served object of its
// own, as the in-process host counts them: it holds that one reference and
// gives it back when the client releases the object. Each Invoke is one host
// call, passed to the simulated host by dispatch id or, for the ids that
// GetIDsOfNames gave out, by name, as the served library says
// (host/sim/served_library.h). How strict a host it plays (names, number
// types, error forms, a call held in a dialog, the library it declares) is
// the scene's `com` key, or a probe's report.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <oleauto.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>

#include "host/sim/object_classes.h"
#include "host/sim/scene.h"
#include "host/sim/served_library.h"
#include "host/sim/sim_host.h"
#include "host/value.h"
#include "platform/win/com_object.h"
#include "tools/sehost-sim/round_trips.h"
#include "tools/sehost-sim/type_library.h"

namespace tav::sehost {

class ServedObject;

// What all served objects of one server share.
struct ServedHost {
    ServedHost(const sim::SimInspector& hostInspector, sim::ComStrictness hostStrictness,
               sim::ServedLibrary servedLibrary)
        : inspector(hostInspector), strictness(hostStrictness), library(std::move(servedLibrary)) {}

    const sim::SimInspector& inspector;
    sim::ComStrictness strictness;
    // What the server declares, and how its names and ids reach the host.
    const sim::ServedLibrary library;
    // Names resolved for clients so far.
    std::int32_t nameLookups = 0;
    // Where each class's type information comes from (null: none to give).
    const RegisteredTypeLibrary* typeLibrary = nullptr;
    // Every served object alive now.
    std::set<const ServedObject*> live;
    // The host call at whose arrival the process ends at once, as a crashing
    // host would.
    std::optional<std::int32_t> crashAtCall;
    // Every call that came in from clients, by kind.
    RoundTrips roundTrips;

    // The number the next Invoke will have.
    std::int32_t nextCallNumber() const { return inspector.hostCalls() + 1; }
    // Served objects that some client holds: those with a connection from
    // outside the process. (Wine's IDispatch stub keeps one reference of
    // every object an Invoke returns, so an object alive is not always an
    // object held.)
    std::int32_t heldByClients() const;
};

// Exit status of a server that ended at `crashAtCall`.
inline constexpr UINT crashExitStatus = 70;

// Also an IExternalConnection: the COM runtime reports to it the strong
// connections from outside the process (the running-object table's and the
// clients'), which is how the server tells whether clients still hold it.
// And, for a host that reports its errors directly, an ISupportErrorInfo.
// Every method answers through platform::guardComCall: no exception reaches COM.
class ServedObject final
    : public platform::ComObject<IDispatch, IExternalConnection, ISupportErrorInfo> {
  public:
    ServedObject(host::ObjectRef object, std::shared_ptr<ServedHost> servedHost);
    ~ServedObject() override;

    // A new served object holding `object` (one reference for the caller),
    // or null for an empty reference.
    static Microsoft::WRL::ComPtr<IDispatch> serve(host::ObjectRef object,
                                                   const std::shared_ptr<ServedHost>& servedHost);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    DWORD STDMETHODCALLTYPE AddConnection(DWORD type, DWORD) override;
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD type, DWORD, BOOL) override;
    // Strong connections from outside the process now.
    long connections() const { return connections_; }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  private:
    // Beyond the listed interfaces, the host's interfaces the object has
    // (and the server's own id for its objects) as this IDispatch; and
    // ISupportErrorInfo only for a host that reports its errors directly.
    void* interfaceFor(REFIID iid) override;
    const sim::ObjectClass& objectClass() const;
    const sim::ServedClass& servedClass() const;
    // Whether the arguments are in the forms the class's colour query
    // declares (any form when it declares none); else the index of the
    // first that is not, as Invoke reports it.
    std::optional<UINT> argumentFormMismatch(DISPPARAMS* params) const;
    // A received object as the host's reference: our own objects become the
    // reference they hold, anything else an object the host does not know.
    host::ObjectRef unwrap(IDispatch* dispatch) const;
    // The host call itself, once the member is known; raises AutomationError.
    void serveCall(const host::MemberName& name, WORD flags, DISPPARAMS* params, VARIANT* result);

    host::ObjectRef object_;
    std::shared_ptr<ServedHost> servedHost_;
    std::atomic<long> connections_{0};
};

}  // namespace tav::sehost

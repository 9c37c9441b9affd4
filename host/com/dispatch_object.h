// A host object reached over COM: one interface pointer, released exactly
// once when the last ObjectRef to it goes away, the interface it was taken
// as (IDispatch until the tool casts it), and the ids of the late-bound
// names it has answered.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>

#include "host/com/call_watch.h"
#include "host/com/classes_seen.h"
#include "host/com/dispatch_call.h"
#include "host/value.h"

namespace tav::com {

// What every object reached through one connection shares.
struct Connection {
    explicit Connection(CallWatch& watch) : calls(watch), classes(watch) {}
    CallWatch& calls;
    ClassesSeen classes;
    // Invokes that reached the host so far (a retried call is one): the host
    // numbers its calls alike.
    std::int32_t hostCalls = 0;
    // Casts asked of objects, and references given back: each may cost a
    // round trip to the host, or be answered by COM in this process.
    std::int64_t casts = 0;
    std::int64_t releases = 0;
};

class DispatchObject final : public host::HostObject,
                             public std::enable_shared_from_this<DispatchObject> {
  public:
    DispatchObject(std::shared_ptr<Connection> connection,
                   Microsoft::WRL::ComPtr<IDispatch> dispatch, host::InterfaceId iid,
                   ObjectKnowledge knowledge = {});
    ~DispatchObject() override;
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // A reference to `dispatch` as plain IDispatch (null: an empty reference).
    static host::ObjectRef wrap(const std::shared_ptr<Connection>& connection,
                                Microsoft::WRL::ComPtr<IDispatch> dispatch);

    host::Value invoke(const host::MemberName& member, host::CallKind kind,
                       std::span<host::Argument> args) override;
    host::ObjectRef queryInterface(const host::InterfaceId& iid) override;

    IDispatch* dispatch() const { return dispatch_.Get(); }

  private:
    CallConventions conventions() const;
    host::Value hostCall(DISPID id, host::CallKind kind, std::span<host::Argument> args);
    // The call, with its by-reference arguments in their declared forms, and
    // what its result is then known to be.
    host::Value declaredCall(DISPID id, host::CallKind kind, std::span<host::Argument> args);
    // The cast of an object whose QueryInterface refused `iid`, where its
    // type information names the interface of that kind; else empty.
    host::ObjectRef castByTypeName(const host::InterfaceId& iid);

    std::shared_ptr<Connection> connection_;
    Microsoft::WRL::ComPtr<IDispatch> dispatch_;
    host::InterfaceId iid_;
    ObjectKnowledge knowledge_;
};

}  // namespace tav::com

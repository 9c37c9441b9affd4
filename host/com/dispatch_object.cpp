#include "host/com/dispatch_object.h"

#include <algorithm>

#include "host/com/automation_errors.h"
#include "host/com/guid.h"
#include "host/error.h"
#include "host/types/object_kinds.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

DispatchObject::DispatchObject(std::shared_ptr<Connection> connection, ComPtr<IDispatch> dispatch,
                               host::InterfaceId iid, ObjectKnowledge knowledge)
    : connection_(std::move(connection)),
      dispatch_(std::move(dispatch)),
      iid_(iid),
      knowledge_(std::move(knowledge)) {}

DispatchObject::~DispatchObject() {
    ++connection_->releases;
    // A busy host rejects releases too; where the runtime retries them (the
    // message filter), it does so within the watched call's bound.
    connection_->calls.watch([this] { dispatch_.Reset(); });
}

host::ObjectRef DispatchObject::wrap(const std::shared_ptr<Connection>& connection,
                                     ComPtr<IDispatch> dispatch) {
    if (!dispatch) {
        return {};
    }
    return host::ObjectRef(
        std::make_shared<DispatchObject>(connection, std::move(dispatch), fromGuid(IID_IDispatch)));
}

CallConventions DispatchObject::conventions() const {
    std::shared_ptr<Connection> connection = connection_;
    return CallConventions{
        connection->calls,
        [connection](ComPtr<IDispatch> result) { return wrap(connection, std::move(result)); },
        [](const host::ObjectRef& argument) -> ComPtr<IDispatch> {
            // Only objects of this host can be handed back to it.
            const auto* object = argument.backendObject<DispatchObject>();
            if (object == nullptr) {
                throw host::typeMismatchError();
            }
            return object->dispatch();
        }};
}

host::Value DispatchObject::hostCall(DISPID id, host::CallKind kind,
                                     std::span<host::Argument> args) {
    const bool byReference = std::any_of(args.begin(), args.end(),
                                         [](const host::Argument& a) { return a.byReference; });
    const ArgumentForms forms = byReference
                                    ? connection_->classes.argumentForms(
                                          knowledge_, dispatch_.Get(), iid_, id, kind, args.size())
                                    : ArgumentForms{};
    try {
        host::Value result =
            callDispatch(dispatch_.Get(), toGuid(iid_), id, kind, args, conventions(), forms);
        ++connection_->hostCalls;
        return result;
    } catch (const CallNotServed&) {
        throw;
    } catch (const host::AutomationError&) {
        ++connection_->hostCalls;
        throw;
    }
}

host::Value DispatchObject::declaredCall(DISPID id, host::CallKind kind,
                                         std::span<host::Argument> args) {
    host::Value result = hostCall(id, kind, args);
    const host::ObjectRef* object = result.getIf<host::ObjectRef>();
    DispatchObject* returned =
        object != nullptr ? object->backendObject<DispatchObject>() : nullptr;
    if (returned != nullptr) {
        connection_->classes.learnResult(knowledge_, id, kind, args.size(), returned->knowledge_);
    }
    return result;
}

host::Value DispatchObject::invoke(const host::MemberName& member, host::CallKind kind,
                                   std::span<host::Argument> args) {
    if (!member.byName()) {
        return declaredCall(member.id, kind, args);
    }
    ClassesSeen& classes = connection_->classes;
    const ClassesSeen::Found found = classes.find(knowledge_, dispatch_.Get(), iid_, member.name);
    try {
        return declaredCall(found.id, kind, args);
    } catch (const MemberNotFound&) {
        if (!found.kept) {
            throw;
        }
        // A kept id the object does not know: ask the object itself.
        const std::optional<DISPID> fresh =
            classes.refresh(knowledge_, dispatch_.Get(), member.name, found.id);
        if (!fresh) {
            throw;
        }
        return hostCall(*fresh, kind, args);
    }
}

host::ObjectRef DispatchObject::castByTypeName(const host::InterfaceId& iid) {
    const hosttypes::ObjectKind* kind = nullptr;
    for (const hosttypes::ObjectKind& candidate : hosttypes::objectKinds()) {
        if (candidate.iid == iid) {
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        return {};
    }
    const std::u16string name(kind->interfaceName.begin(), kind->interfaceName.end());
    if (!connection_->classes.typeInfoNames(knowledge_, dispatch_.Get(), name)) {
        return {};
    }
    // The same interface pointer serves: every call goes through IDispatch.
    ObjectKnowledge castKnowledge{true, knowledge_.classIndex, {}};
    return host::ObjectRef(
        std::make_shared<DispatchObject>(connection_, dispatch_, iid, std::move(castKnowledge)));
}

host::ObjectRef DispatchObject::queryInterface(const host::InterfaceId& iid) {
    ++connection_->casts;
    ClassesSeen& classes = connection_->classes;
    if (classes.typeInfoShows(knowledge_, dispatch_.Get(), iid)) {
        // The same interface pointer serves: every call goes through IDispatch.
        ObjectKnowledge castKnowledge{true, knowledge_.classIndex, {}};
        return host::ObjectRef(std::make_shared<DispatchObject>(connection_, dispatch_, iid,
                                                                std::move(castKnowledge)));
    }
    ComPtr<IDispatch> cast;
    const GUID wanted = toGuid(iid);
    HRESULT hr = connection_->calls.run([&] {
        return dispatch_->QueryInterface(wanted,
                                         reinterpret_cast<void**>(cast.ReleaseAndGetAddressOf()));
    });
    if (hr == E_NOINTERFACE) {
        // The id may be a class id of the host's, not its interface's; and
        // under Wine a QueryInterface that a busy host rejected arrives as
        // E_NOINTERFACE too. The type information decides (asking for it
        // waits out a busy host) before the cast is refused.
        return castByTypeName(iid);
    }
    if (FAILED(hr)) {
        throw errorFromHresult(hr);  // for example a host that has gone away
    }
    classes.castSucceeded(knowledge_, iid);
    ObjectKnowledge castKnowledge;
    classes.castTo(castKnowledge, iid);
    return host::ObjectRef(std::make_shared<DispatchObject>(connection_, std::move(cast), iid,
                                                            std::move(castKnowledge)));
}

}  // namespace tav::com

#include "host/com/dispatch_object.h"

#include "host/com/guid.h"
#include "host/com/hresult_error.h"
#include "host/error.h"

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
    try {
        host::Value result =
            callDispatch(dispatch_.Get(), toGuid(iid_), id, kind, args, conventions());
        ++connection_->hostCalls;
        return result;
    } catch (const CallNotServed&) {
        throw;
    } catch (const host::AutomationError&) {
        ++connection_->hostCalls;
        throw;
    }
}

host::Value DispatchObject::invoke(const host::MemberName& member, host::CallKind kind,
                                   std::span<host::Argument> args) {
    if (!member.byName()) {
        host::Value result = hostCall(member.id, kind, args);
        learnResultClass(result, member.id, kind);
        return result;
    }
    ClassesSeen& classes = connection_->classes;
    const ClassesSeen::Found found = classes.find(knowledge_, dispatch_.Get(), iid_, member.name);
    try {
        host::Value result = hostCall(found.id, kind, args);
        learnResultClass(result, found.id, kind);
        return result;
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

void DispatchObject::learnResultClass(const host::Value& result, DISPID member,
                                      host::CallKind kind) {
    const host::ObjectRef* object = result.getIf<host::ObjectRef>();
    DispatchObject* returned =
        object != nullptr ? object->backendObject<DispatchObject>() : nullptr;
    if (returned != nullptr) {
        connection_->classes.learnResult(knowledge_, member, kind == host::CallKind::method,
                                         returned->knowledge_);
    }
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
    HRESULT hr =
        dispatch_->QueryInterface(toGuid(iid), reinterpret_cast<void**>(cast.GetAddressOf()));
    if (hr == E_NOINTERFACE) {
        return {};
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

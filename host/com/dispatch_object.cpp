#include "host/com/dispatch_object.h"

#include "host/com/guid.h"
#include "host/com/hresult_error.h"
#include "host/error.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

DispatchObject::DispatchObject(std::shared_ptr<Connection> connection, ComPtr<IDispatch> dispatch,
                               host::InterfaceId iid)
    : connection_(std::move(connection)), dispatch_(std::move(dispatch)), iid_(iid) {}

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
        connection->busy,
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

host::Value DispatchObject::invoke(const host::MemberName& member, host::CallKind kind,
                                   std::span<host::Argument> args) {
    const CallConventions rules = conventions();
    auto hostCall = [&](DISPID id) {
        ++connection_->hostCalls;
        return callDispatch(dispatch_.Get(), id, kind, args, rules);
    };
    if (!member.byName()) {
        return hostCall(member.id);
    }
    NameIds::Found found = connection_->names.find(dispatch_.Get(), iid_, member.name);
    try {
        return hostCall(found.id);
    } catch (const host::AutomationError& error) {
        // A kept id the host no longer answers to: look the name up once more.
        if (!found.fromCache ||
            error.number() != static_cast<std::int32_t>(DISP_E_MEMBERNOTFOUND)) {
            throw;
        }
    }
    return hostCall(connection_->names.refresh(dispatch_.Get(), iid_, member.name));
}

host::ObjectRef DispatchObject::queryInterface(const host::InterfaceId& iid) {
    const GUID guid = toGuid(iid);
    ComPtr<IDispatch> cast;
    HRESULT hr = dispatch_->QueryInterface(guid, reinterpret_cast<void**>(cast.GetAddressOf()));
    if (hr == E_NOINTERFACE) {
        return {};
    }
    if (FAILED(hr)) {
        throw errorFromHresult(hr);  // for example a host that has gone away
    }
    return host::ObjectRef(std::make_shared<DispatchObject>(connection_, std::move(cast), iid));
}

}  // namespace tav::com

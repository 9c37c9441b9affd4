#include "tools/sehost-sim/served_object.h"

#include <oleauto.h>

#include <new>
#include <string>
#include <vector>

#include "host/com/bstr.h"
#include "host/com/guid.h"
#include "host/com/variant_value.h"
#include "host/error.h"
#include "tools/sehost-sim/host_interfaces.h"

namespace tav::sehost {
namespace {

// Asked for by the server itself only, to recognise its own objects when a
// client passes them back as arguments.
const IID servedObjectIid = {
    0x94b6d909, 0xc598, 0x4397, {0xae, 0x97, 0x9e, 0xea, 0xda, 0x3e, 0xe4, 0xa1}};

// An object a client passed that this host never handed out: the host cannot
// use it, as Solid Edge cannot use a foreign object.
class ForeignObject final : public host::HostObject {
  public:
    host::Value invoke(const host::MemberName&, host::CallKind,
                       std::span<host::Argument>) override {
        throw host::typeMismatchError();
    }
    host::ObjectRef queryInterface(const host::InterfaceId&) override { return {}; }
};

host::CallKind callKindOf(WORD flags) {
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
        return host::CallKind::put;
    }
    if ((flags & DISPATCH_PROPERTYGET) != 0) {
        return host::CallKind::get;
    }
    return host::CallKind::method;
}

// A host error as automation reports it: a failure HRESULT travels in
// `scode`; the tool's own run-time error numbers in `wCode`.
HRESULT reportError(const host::AutomationError& error, EXCEPINFO* exception) {
    if (exception == nullptr) {
        return error.number() < 0 ? static_cast<HRESULT>(error.number()) : DISP_E_EXCEPTION;
    }
    *exception = EXCEPINFO{};
    exception->bstrSource = com::Bstr(u"SolidEdge.Application").release();
    exception->bstrDescription = com::Bstr(error.description()).release();
    if (error.number() < 0) {
        exception->scode = static_cast<SCODE>(error.number());
    } else {
        exception->wCode = static_cast<WORD>(error.number());
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

std::int32_t ServedHost::heldByClients() const {
    std::int32_t held = 0;
    for (const ServedObject* object : live) {
        held += object->connections() > 0 ? 1 : 0;
    }
    return held;
}

ServedObject::ServedObject(host::ObjectRef object, std::shared_ptr<ServedHost> servedHost)
    : object_(std::move(object)), servedHost_(std::move(servedHost)) {
    servedHost_->live.insert(this);
}

ServedObject::~ServedObject() {
    servedHost_->live.erase(this);
}

IDispatch* ServedObject::serve(host::ObjectRef object,
                               const std::shared_ptr<ServedHost>& servedHost) {
    if (object.empty()) {
        return nullptr;
    }
    return make<ServedObject>(std::move(object), servedHost).Detach();
}

bool ServedObject::answersTo(REFIID iid) {
    if (IsEqualIID(iid, servedObjectIid)) {
        return true;
    }
    // A cast is not a host call; the reference it gives is dropped at once,
    // as this object answers for the interface itself.
    return isHostInterface(iid) && !object_.tryAs(com::fromGuid(iid)).empty();
}

void* ServedObject::otherInterface(REFIID iid) {
    return IsEqualIID(iid, IID_IExternalConnection) ? static_cast<IExternalConnection*>(this)
                                                    : nullptr;
}

DWORD STDMETHODCALLTYPE ServedObject::AddConnection(DWORD type, DWORD) {
    return (type & EXTCONN_STRONG) != 0 ? static_cast<DWORD>(++connections_)
                                        : static_cast<DWORD>(connections_.load());
}

DWORD STDMETHODCALLTYPE ServedObject::ReleaseConnection(DWORD type, DWORD, BOOL) {
    return (type & EXTCONN_STRONG) != 0 ? static_cast<DWORD>(--connections_)
                                        : static_cast<DWORD>(connections_.load());
}

host::ObjectRef ServedObject::unwrap(IDispatch* dispatch) const {
    if (dispatch == nullptr) {
        return {};
    }
    Microsoft::WRL::ComPtr<IDispatch> own;
    if (FAILED(dispatch->QueryInterface(servedObjectIid,
                                        reinterpret_cast<void**>(own.GetAddressOf())))) {
        return host::ObjectRef(std::make_shared<ForeignObject>());
    }
    // The same reference the object holds: passing an object to the host
    // hands no new reference out.
    return static_cast<ServedObject*>(static_cast<DispatchObject*>(own.Get()))->object_;
}

HRESULT STDMETHODCALLTYPE ServedObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                      DISPID* ids) {
    if (names == nullptr || ids == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    const std::wstring_view wide(names[0] == nullptr ? L"" : names[0]);
    const std::u16string name(wide.begin(), wide.end());
    std::optional<host::DispId> id = servedHost_->names.idOf(name);
    if (!id) {
        return DISP_E_UNKNOWNNAME;
    }
    ids[0] = *id;
    // The host's members take no named arguments.
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE ServedObject::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT*) {
    if (servedHost_->crashAtCall == servedHost_->nextCallNumber()) {
        TerminateProcess(GetCurrentProcess(), crashExitStatus);
    }
    if (result != nullptr) {
        VariantInit(result);
    }
    host::MemberName name{member, {}};
    if (std::optional<std::u16string_view> late = MemberNames::nameOf(member)) {
        name = host::MemberName{0, *late};
    }
    const UINT count = params == nullptr ? 0 : params->cArgs;
    try {
        // DISPPARAMS holds the arguments last first.
        std::vector<host::Argument> args;
        args.reserve(count);
        const com::DispatchToObject unwrapper = [this](Microsoft::WRL::ComPtr<IDispatch> dispatch) {
            return unwrap(dispatch.Get());
        };
        const com::ObjectToDispatch wrapper = [this](const host::ObjectRef& object) {
            Microsoft::WRL::ComPtr<IDispatch> served;
            served.Attach(serve(object, servedHost_));
            return served;
        };
        for (UINT i = count; i-- > 0;) {
            const VARIANT& argument = params->rgvarg[i];
            host::Argument converted{{}, (argument.vt & VT_BYREF) != 0};
            try {
                converted.value = com::fromVariant(argument, unwrapper);
            } catch (const host::AutomationError&) {
                // The host raises its own error for an argument it cannot
                // take; the call still counts as one host call.
            }
            args.push_back(std::move(converted));
        }
        host::Value value = object_.backendObject<host::HostObject>()->invoke(
            name, callKindOf(flags), std::span<host::Argument>(args));
        for (UINT i = 0; i < count; ++i) {
            if (args[i].byReference) {
                com::writeThrough(params->rgvarg[count - 1 - i], args[i].value, wrapper);
            }
        }
        if (result != nullptr) {
            com::toVariant(value, wrapper).releaseInto(*result);
        }
        return S_OK;
    } catch (const host::AutomationError& error) {
        return reportError(error, exception);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace tav::sehost

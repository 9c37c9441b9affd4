#include "tools/sehost-sim/served_object.h"

#include <oleauto.h>

#include <chrono>
#include <limits>
#include <string>
#include <vector>

#include "host/ascii_case.h"
#include "host/com/busy_host.h"
#include "host/com/guid.h"
#include "host/com/variant_value.h"
#include "host/error.h"
#include "host/sim/sim_handle.h"
#include "platform/win/exception_barrier.h"
#include "platform/win/wide_text.h"
#include "tav_version.h"
#include "testbed/server_process/server_protocol.h"
#include "tools/sehost-sim/error_report.h"
#include "tools/sehost-sim/host_classes.h"

namespace tav::sehost {
namespace {

using platform::guardComCall;
using Strictness = sim::ComStrictness;

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

// The application's "Version": the probe reads it by name. The simulated host
// has no such member, so the server answers it itself (no host call), under
// the id its library gives the name or, where it declares none, this one.
constexpr host::DispId applicationVersionId = sim::firstOwnId - 1;

std::u16string versionText() {
    const std::string text = "sehost-sim " + std::to_string(TAV_VERSION_MAJOR) + "." +
                             std::to_string(TAV_VERSION_MINOR) + "." +
                             std::to_string(TAV_VERSION_REVISION);
    return std::u16string(text.begin(), text.end());
}

// The VARIANT type an argument declared as `type` arrives in.
VARTYPE passedAs(const hosttypes::DeclaredType& type) {
    if (type.safeArray) {
        return static_cast<VARTYPE>(VT_ARRAY | type.base);
    }
    return type.base;
}

// A strict host's integers come in whichever type its code at hand uses: a
// double (a whole number) on every third call, a 16-bit integer where it
// fits on the other odd-numbered calls, a Long otherwise.
void varyIntegerType(VARIANT& result, std::int32_t callNumber) {
    if (result.vt != VT_I2 && result.vt != VT_I4) {
        return;
    }
    const std::int32_t value = result.vt == VT_I2 ? result.iVal : result.lVal;
    if (callNumber % 3 == 0) {
        result.vt = VT_R8;
        result.dblVal = value;
    } else if (callNumber % 2 == 1 && value >= std::numeric_limits<SHORT>::min() &&
               value <= std::numeric_limits<SHORT>::max()) {
        result.vt = VT_I2;
        result.iVal = static_cast<SHORT>(value);
    } else {
        result.vt = VT_I4;
        result.lVal = value;
    }
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

Microsoft::WRL::ComPtr<IDispatch> ServedObject::serve(
    host::ObjectRef object, const std::shared_ptr<ServedHost>& servedHost) {
    if (object.empty()) {
        return nullptr;
    }
    return make<ServedObject>(std::move(object), servedHost);
}

const sim::ObjectClass& ServedObject::objectClass() const {
    return object_.backendObject<sim::SimHandle>()->node().objectClass();
}

const sim::ServedClass& ServedObject::servedClass() const {
    return servedHost_->library.servedClass(objectClass());
}

void* ServedObject::interfaceFor(REFIID iid) {
    if (IsEqualIID(iid, IID_ISupportErrorInfo) &&
        servedHost_->strictness.errors != Strictness::Errors::direct) {
        return nullptr;
    }
    if (void* listed = listedInterface(iid)) {
        return listed;
    }
    if (IsEqualIID(iid, servedObjectIid)) {
        return static_cast<IDispatch*>(this);
    }
    // A cast is not a host call; the reference it gives is dropped at once,
    // as this object answers for the interface itself. The interface its
    // type information describes, and the table's interface of its kind
    // where the host's interfaces share the table's ids.
    const sim::ServedClass& served = servedClass();
    if (served.type &&
        IsEqualIID(iid, com::toGuid(servedHost_->library.types[*served.type].guid))) {
        return static_cast<IDispatch*>(this);
    }
    if (served.answersTableId && isHostInterface(iid) &&
        !object_.tryAs(com::fromGuid(iid)).empty()) {
        return static_cast<IDispatch*>(this);
    }
    return nullptr;
}

std::optional<UINT> ServedObject::argumentFormMismatch(DISPPARAMS* params) const {
    const auto& forms = servedClass().colorQueryForms;
    const UINT count = params == nullptr ? 0 : params->cArgs;
    // The first argument that differs from the form that matched longest.
    std::optional<UINT> firstWrong;
    UINT longestMatch = 0;
    for (const std::vector<hosttypes::DeclaredType>& form : forms) {
        UINT i = 0;
        for (; i < count && i < form.size(); ++i) {
            // DISPPARAMS holds the arguments last first.
            const VARIANT& argument = params->rgvarg[count - 1 - i];
            const hosttypes::DeclaredType& declared = form[i];
            const VARTYPE wanted = declared.byReference()
                                       ? static_cast<VARTYPE>(VT_BYREF | passedAs(declared))
                                       : passedAs(declared);
            if (argument.vt != wanted) {
                break;
            }
        }
        if (i == count && count == form.size()) {
            return std::nullopt;  // this form fits
        }
        if (!firstWrong || i >= longestMatch) {
            longestMatch = i;
            firstWrong = count - 1 - std::min(i, count - 1);
        }
    }
    return firstWrong;
}

DWORD STDMETHODCALLTYPE ServedObject::AddConnection(DWORD type, DWORD) {
    return guardComCall(DWORD{0}, [&] {
        if ((type & EXTCONN_STRONG) == 0) {
            return static_cast<DWORD>(connections_.load());
        }
        const long now = ++connections_;
        if (now == 1) {
            ++servedHost_->roundTrips.objectsMarshalled;  // its first connection to a client
        }
        return static_cast<DWORD>(now);
    });
}

DWORD STDMETHODCALLTYPE ServedObject::ReleaseConnection(DWORD type, DWORD, BOOL) {
    return guardComCall(DWORD{0}, [&] {
        return (type & EXTCONN_STRONG) != 0 ? static_cast<DWORD>(--connections_)
                                            : static_cast<DWORD>(connections_.load());
    });
}

HRESULT STDMETHODCALLTYPE ServedObject::InterfaceSupportsErrorInfo(REFIID iid) {
    return guardComCall([&] {
        return IsEqualIID(iid, IID_IDispatch) || isServedInterface(servedHost_->library, iid)
                   ? S_OK
                   : S_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE ServedObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = servedHost_->typeLibrary != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ServedObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    return guardComCall([&] {
        if (index != 0 || servedHost_->typeLibrary == nullptr) {
            return DISP_E_BADINDEX;
        }
        const sim::ServedClass& served = servedClass();
        if (!served.type) {
            return static_cast<HRESULT>(served.typeInfoFailure);
        }
        *info = servedHost_->typeLibrary->typeInfoOf(servedHost_->library.types[*served.type].guid)
                    .Detach();
        return *info != nullptr ? S_OK : TYPE_E_ELEMENTNOTFOUND;
    });
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
    return static_cast<ServedObject*>(own.Get())->object_;
}

HRESULT STDMETHODCALLTYPE ServedObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                      DISPID* ids) {
    if (names == nullptr || ids == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    return guardComCall([&] {
        const std::u16string name = platform::utf16Text(names[0] == nullptr ? L"" : names[0]);
        ++servedHost_->nameLookups;
        std::optional<host::DispId> id = servedHost_->library.idOf(objectClass(), name);
        if (!id && &objectClass() == &sim::classes::application &&
            host::equalsIgnoringAsciiCase(name, u"Version")) {
            id = applicationVersionId;
        }
        if (!id) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = *id;
        // The host's members take no named arguments.
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    });
}

void ServedObject::serveCall(const host::MemberName& name, WORD flags, DISPPARAMS* params,
                             VARIANT* result) {
    const std::int32_t callNumber = servedHost_->nextCallNumber();
    const UINT count = params == nullptr ? 0 : params->cArgs;
    const com::DispatchToObject unwrapper = [this](Microsoft::WRL::ComPtr<IDispatch> dispatch) {
        return unwrap(dispatch.Get());
    };
    const com::ObjectToDispatch wrapper = [this](const host::ObjectRef& object) {
        return serve(object, servedHost_);
    };
    // DISPPARAMS holds the arguments last first.
    std::vector<host::Argument> args;
    args.reserve(count);
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
    const auto arrayElement = static_cast<VARTYPE>(servedHost_->library.arrayElement);
    for (UINT i = 0; i < count; ++i) {
        if (args[i].byReference) {
            com::writeThrough(params->rgvarg[count - 1 - i], args[i].value, wrapper, arrayElement);
        }
    }
    if (result != nullptr) {
        com::toVariant(value, wrapper).releaseInto(*result);
        if (servedHost_->strictness.numbers == Strictness::Numbers::varied) {
            varyIntegerType(*result, callNumber);
        }
    }
}

HRESULT STDMETHODCALLTYPE ServedObject::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                               DISPPARAMS* params, VARIANT* result,
                                               EXCEPINFO* exception, UINT* argumentError) {
    if (member == serverprocess::doNothingId) {
        return S_OK;
    }
    const std::int32_t callNumber = servedHost_->nextCallNumber();
    if (servedHost_->crashAtCall == callNumber) {
        TerminateProcess(GetCurrentProcess(), crashExitStatus);
    }
    if (result != nullptr) {
        VariantInit(result);
    }
    return guardComCall([&] {
        const Strictness& strictness = servedHost_->strictness;
        if (strictness.errors == Strictness::Errors::direct) {
            clearErrorObject();
        }
        if (&objectClass() == &sim::classes::application &&
            member == servedHost_->library.idOf(objectClass(), u"Version")
                          .value_or(applicationVersionId)) {
            if (result != nullptr) {
                com::toVariant(host::Value(versionText()), {}).releaseInto(*result);
            }
            return S_OK;  // answered by the server itself: not a host call
        }
        const std::optional<host::MemberName> name =
            servedHost_->library.memberOf(objectClass(), member);
        if (!name) {
            return DISP_E_MEMBERNOTFOUND;  // an id of another class: not a host call
        }
        if (!name->byName() && name->id == host::dispatch::subOccurrence::displayColors) {
            // A host whose Invoke follows its type information takes each
            // argument only in the form it declares: not a host call.
            if (const std::optional<UINT> wrong = argumentFormMismatch(params)) {
                if (argumentError != nullptr) {
                    *argumentError = *wrong;
                }
                return DISP_E_TYPEMISMATCH;
            }
        }
        if (strictness.stall && strictness.stall->call == callNumber) {
            // As Solid Edge does with a dialog up inside a call: the call
            // waits while the host's own message loop runs.
            com::waitDispatchingMessages(std::chrono::milliseconds(strictness.stall->ms));
        }
        try {
            serveCall(*name, flags, params, result);
            return S_OK;
        } catch (const host::AutomationError& error) {
            // A host error: the client reads it in the form the scene asks for.
            return reportError(error, strictness.errors, exception);
        }
    });
}

}  // namespace tav::sehost

#include "host/com/dispatch_call.h"

#include <vector>

#include "host/com/automation_errors.h"
#include "host/com/variant.h"
#include "host/error.h"

namespace tav::com {
namespace {

WORD invokeFlags(host::CallKind kind) {
    switch (kind) {
        case host::CallKind::get:
            return DISPATCH_PROPERTYGET | DISPATCH_METHOD;
        case host::CallKind::put:
            return DISPATCH_PROPERTYPUT;
        case host::CallKind::method:
            break;
    }
    return DISPATCH_METHOD;
}

// The arguments of one call as DISPPARAMS wants them. `storage_` owns every
// value (the callee may replace a by-reference one; it is freed here either
// way); `passed_` is what Invoke sees, reversed, by-reference ones pointing
// into `storage_`.
class PassedArguments {
  public:
    PassedArguments(std::span<host::Argument> args, const ObjectToDispatch& unwrap,
                    const ArgumentForms& forms)
        : storage_(args.size()), passed_(args.size()) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            constexpr VARTYPE ownType = VT_EMPTY;
            const VARTYPE form =
                args[i].byReference && i < forms.size() ? forms[i].value_or(ownType) : ownType;
            storage_[i] = form != ownType ? toVariantOf(args[i].value, form, unwrap)
                                          : toVariant(args[i].value, unwrap);
            VARIANT& passed = passed_[args.size() - 1 - i];
            VARIANT& stored = storage_[i].get();
            if (args[i].byReference) {
                // A declared VARIANT* points at the VARIANT itself.
                const VARTYPE pointee = form == VT_VARIANT ? VARTYPE{VT_VARIANT} : stored.vt;
                passed.vt = static_cast<VARTYPE>(VT_BYREF | pointee);
                passed.byref = pointee == VT_VARIANT ? &stored : byReferenceAddress(stored);
            } else {
                passed = stored;  // a view: storage_ keeps ownership
            }
        }
    }

    VARIANT* data() { return passed_.data(); }
    UINT count() const { return static_cast<UINT>(passed_.size()); }

    // Reads every by-reference argument back into the caller's Value.
    void writeBack(std::span<host::Argument> args, const DispatchToObject& wrap) const {
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i].byReference) {
                args[i].value = fromVariant(storage_[i].get(), wrap);
            }
        }
    }

  private:
    std::vector<Variant> storage_;
    std::vector<VARIANT> passed_;
};

}  // namespace

host::Value callDispatch(IDispatch* object, REFIID iid, DISPID member, host::CallKind kind,
                         std::span<host::Argument> args, const CallConventions& conventions,
                         const ArgumentForms& forms) {
    PassedArguments passed(args, conventions.unwrapArgument, forms);
    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = passed.data();
    params.cArgs = passed.count();
    if (kind == host::CallKind::put) {
        params.rgdispidNamedArgs = &propertyPut;
        params.cNamedArgs = 1;
    }
    const WORD flags = invokeFlags(kind);
    const bool wantsResult = kind != host::CallKind::put;

    Variant result;
    EXCEPINFO exception{};
    HRESULT hr = conventions.calls.run([&] {
        clearExceptionInfo(exception);
        UINT argumentError = 0;
        return object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                              wantsResult ? result.receive() : nullptr, &exception, &argumentError);
    });
    if (FAILED(hr)) {
        throwInvokeFailure(hr, exception, object, iid);
    }
    clearExceptionInfo(exception);
    passed.writeBack(args, conventions.wrapResult);
    return fromVariant(result.get(), conventions.wrapResult);
}

}  // namespace tav::com

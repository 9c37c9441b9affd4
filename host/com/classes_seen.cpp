#include "host/com/classes_seen.h"

#include <utility>

#include "host/ascii_case.h"
#include "host/com/automation_errors.h"
#include "host/com/bstr.h"
#include "host/com/guid.h"
#include "host/com/safe_array.h"
#include "host/com/type_descriptions.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

namespace {

// Answers that mean the host gives no type information at all, as opposed
// to a host that is busy or failing now.
bool meansNoTypeInformation(HRESULT hr) {
    return hr == E_NOTIMPL || hr == DISP_E_BADINDEX || hr == TYPE_E_ELEMENTNOTFOUND;
}

// The VARIANT type a by-reference argument goes in, as its parameter is
// declared: a pointer to a VARIANT, to an array of numbers, or to a scalar
// the tool passes. Nothing for anything else (a value, an object).
std::optional<VARTYPE> formOf(const TYPEDESC& type) {
    if (type.vt != VT_PTR || type.lptdesc == nullptr) {
        return std::nullopt;
    }
    const TYPEDESC& pointee = *type.lptdesc;
    switch (pointee.vt) {
        case VT_SAFEARRAY:
            if (pointee.lptdesc != nullptr && isArrayElement(pointee.lptdesc->vt)) {
                return static_cast<VARTYPE>(VT_ARRAY | pointee.lptdesc->vt);
            }
            return std::nullopt;
        case VT_VARIANT:
        case VT_R8:
        case VT_R4:
        case VT_I2:
        case VT_I4:
        case VT_BOOL:
        case VT_BSTR:
            return pointee.vt;
        default:
            return std::nullopt;
    }
}

}  // namespace

DISPID ClassesSeen::lookUp(IDispatch* object, std::u16string_view name) {
    std::u16string text(name);
    LPOLESTR names[1] = {reinterpret_cast<LPOLESTR>(text.data())};
    DISPID id = DISPID_UNKNOWN;
    ++lookups_;
    const HRESULT hr = calls_.run(
        [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(hr)) {
        throw errorFromHresult(hr);  // DISP_E_UNKNOWNNAME: 438
    }
    return id;
}

std::size_t ClassesSeen::classOfInterface(const host::InterfaceId& iid) {
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].iid == iid) {
            return i;
        }
    }
    ObjectClass made;
    made.iid = iid;
    classes_.push_back(std::move(made));
    return classes_.size() - 1;
}

std::optional<std::size_t> ClassesSeen::classOfTypeInfo(IDispatch* object) {
    if (!typeInfoGiven_) {
        return std::nullopt;
    }
    ComPtr<ITypeInfo> info;
    ++typeInfoRequests_;
    const HRESULT hr = calls_.run(
        [&] { return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.ReleaseAndGetAddressOf()); });
    if (SUCCEEDED(hr) && info) {
        return classOfTypeInfoObject(std::move(info));
    }
    if (SUCCEEDED(hr) || meansNoTypeInformation(hr)) {
        typeInfoGiven_ = false;  // a host without type information: never ask again
    }
    // Otherwise (a busy host past the bound, a failing one) only this object
    // goes without a class.
    return std::nullopt;
}

std::optional<std::size_t> ClassesSeen::classOfTypeInfoObject(ComPtr<ITypeInfo> info) {
    // COM gives one object one proxy in this process: the same type
    // information comes back as the same pointer while it is held.
    ComPtr<IUnknown> identity;
    if (!info || FAILED(info.As(&identity))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].identity && classes_[i].identity.Get() == identity.Get()) {
            return i;
        }
    }
    ObjectClass made;
    made.typeInfo = std::move(info);
    made.identity = std::move(identity);
    classes_.push_back(std::move(made));
    return classes_.size() - 1;
}

std::optional<std::size_t> ClassesSeen::classOf(ObjectKnowledge& own, IDispatch* object,
                                                const host::InterfaceId& iid) {
    if (!own.classAsked) {
        own.classIndex =
            iid != fromGuid(IID_IDispatch) ? classOfInterface(iid) : classOfTypeInfo(object);
        own.classAsked = true;
    }
    return own.classIndex;
}

void ClassesSeen::readAttributes(ObjectClass& objectClass) {
    if (objectClass.attributesRead || !objectClass.typeInfo) {
        return;
    }
    objectClass.attributesRead = true;
    UniqueTypeAttr attributes;
    const ComPtr<ITypeInfo> info = objectClass.typeInfo;
    if (SUCCEEDED(calls_.run([&] { return info->GetTypeAttr(attributes.receive(info)); })) &&
        attributes) {
        objectClass.described = fromGuid(attributes->guid);
    }
}

std::optional<host::InterfaceId> ClassesSeen::describedBy(std::size_t index) {
    readAttributes(classes_[index]);
    return classes_[index].described;
}

bool ClassesSeen::typeInfoShows(ObjectKnowledge& own, IDispatch* object,
                                const host::InterfaceId& iid) {
    if (!castsByTypeInfo_) {
        return false;
    }
    const std::optional<std::size_t> index = classOf(own, object, fromGuid(IID_IDispatch));
    return index && describedBy(*index) == iid;
}

bool ClassesSeen::typeInfoNames(ObjectKnowledge& own, IDispatch* object, std::u16string_view name) {
    const std::optional<std::size_t> index = classOf(own, object, fromGuid(IID_IDispatch));
    if (!index || !classes_[*index].typeInfo) {
        return false;
    }
    ObjectClass& objectClass = classes_[*index];
    if (!objectClass.name) {
        UniqueBstr read;
        ITypeInfo* info = objectClass.typeInfo.Get();
        const HRESULT hr = calls_.run([&] {
            return info->GetDocumentation(MEMBERID_NIL, read.receive(), nullptr, nullptr, nullptr);
        });
        if (FAILED(hr)) {
            return false;  // not known now; asked again at the next cast
        }
        objectClass.name = textOf(read.get());
    }
    return host::equalsIgnoringAsciiCase(*objectClass.name, name);
}

void ClassesSeen::castSucceeded(const ObjectKnowledge& own, const host::InterfaceId& iid) {
    if (own.classIndex && classes_[*own.classIndex].typeInfo &&
        classes_[*own.classIndex].described != iid) {
        castsByTypeInfo_ = false;  // this host's type information names other interfaces
    }
}

void ClassesSeen::castTo(ObjectKnowledge& own, const host::InterfaceId& iid) {
    own.classIndex = classOfInterface(iid);
    own.classAsked = true;
}

namespace {

// The functions every dispatch interface inherits: IUnknown's three and
// IDispatch's four.
constexpr UINT inheritedFunctions = 7;

bool describes(const FUNCDESC* described, DISPID member, INVOKEKIND invokeKind) {
    return described != nullptr && described->memid == member &&
           (described->invkind & invokeKind) != 0;
}

}  // namespace

UniqueFuncDesc ClassesSeen::describedByIndex(ObjectClass& objectClass, DISPID member,
                                             INVOKEKIND invokeKind) {
    const ComPtr<ITypeInfo2> byIndex = objectClass.byIndex;
    UINT index = 0;
    if (FAILED(
            calls_.run([&] { return byIndex->GetFuncIndexOfMemId(member, invokeKind, &index); }))) {
        return {};  // not declared as that kind
    }
    auto describe = [&](UINT at) {
        UniqueFuncDesc described;
        if (FAILED(
                calls_.run([&] { return byIndex->GetFuncDesc(at, described.receive(byIndex)); })) ||
            !describes(described.get(), member, invokeKind)) {
            described.reset();
        }
        return described;
    };
    if (objectClass.indexShift) {
        return describe(index + *objectClass.indexShift);
    }
    for (UINT shift : {0u, inheritedFunctions}) {
        if (UniqueFuncDesc described = describe(index + shift)) {
            objectClass.indexShift = shift;
            return described;
        }
    }
    // Neither: the indexes cannot be trusted; declarations are read by name.
    objectClass.byIndex.Reset();
    return {};
}

bool ClassesSeen::canBindNames(ObjectClass& objectClass) {
    if (!objectClass.byName && !objectClass.byIndex) {
        ComPtr<ITypeComp> byName;
        const ComPtr<ITypeInfo> info = objectClass.typeInfo;
        if (SUCCEEDED(
                calls_.run([&] { return info->GetTypeComp(byName.ReleaseAndGetAddressOf()); }))) {
            objectClass.byName = std::move(byName);
        }
    }
    return objectClass.byName != nullptr;
}

UniqueFuncDesc ClassesSeen::describedByName(ObjectClass& objectClass, DISPID member,
                                            INVOKEKIND invokeKind) {
    const ComPtr<ITypeInfo> info = objectClass.typeInfo;
    UniqueBstr name;
    UINT names = 0;
    if (FAILED(calls_.run([&] { return info->GetNames(member, name.receive(), 1, &names); })) ||
        names == 0) {
        return {};
    }
    const ULONG hash =
        LHashValOfNameSys(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, LOCALE_NEUTRAL, name.get());
    ITypeComp* byName = objectClass.byName.Get();
    ComPtr<ITypeInfo> bound;
    DESCKIND kind = DESCKIND_NONE;
    BINDPTR found{};
    if (FAILED(calls_.run([&] {
            return byName->Bind(name.get(), hash, static_cast<WORD>(invokeKind),
                                bound.ReleaseAndGetAddressOf(), &kind, &found);
        }))) {
        return {};
    }
    // Only a function is of use: anything else the bind gave goes back here.
    if (kind == DESCKIND_VARDESC && bound) {
        const UniqueVarDesc variable(bound, found.lpvardesc);
    } else if (kind == DESCKIND_TYPECOMP) {
        ComPtr<ITypeComp> nested;
        nested.Attach(found.lptcomp);
    }
    if (kind != DESCKIND_FUNCDESC || !bound) {
        return {};
    }
    // The type information it was bound in names the types it uses.
    return UniqueFuncDesc(std::move(bound), found.lpfuncdesc);
}

ClassesSeen::Declaration ClassesSeen::readDeclaration(ObjectClass& objectClass, DISPID member,
                                                      INVOKEKIND invokeKind) {
    Declaration declared;
    const ComPtr<ITypeInfo> info = objectClass.typeInfo;
    if (!info) {
        return declared;
    }
    if (!objectClass.lookupAsked) {
        objectClass.lookupAsked = true;
        ComPtr<ITypeInfo2> byIndex;
        if (SUCCEEDED(calls_.run([&] {
                return info->QueryInterface(IID_PPV_ARGS(byIndex.ReleaseAndGetAddressOf()));
            }))) {
            objectClass.byIndex = std::move(byIndex);
        }
    }
    UniqueFuncDesc described;
    if (objectClass.byIndex) {
        described = describedByIndex(objectClass, member, invokeKind);
    }
    if (!described && !objectClass.byIndex && canBindNames(objectClass)) {
        described = describedByName(objectClass, member, invokeKind);
    }
    if (!describes(described.get(), member, invokeKind)) {
        return declared;
    }
    declared.found = true;
    declared.parameters = described->cParams;
    declared.optionalParameters = described->cParamsOpt;
    for (SHORT i = 0; i < described->cParams; ++i) {
        declared.forms.push_back(formOf(described->lprgelemdescParam[i].tdesc));
    }
    const TYPEDESC& returned = described->elemdescFunc.tdesc;
    if (returned.vt == VT_PTR && returned.lptdesc != nullptr &&
        returned.lptdesc->vt == VT_USERDEFINED) {
        declared.returnedType = returned.lptdesc->hreftype;
        declared.returnedFrom = described.owner();
    }
    return declared;
}

ClassesSeen::Declaration& ClassesSeen::declaration(std::size_t index, DISPID member,
                                                   INVOKEKIND invokeKind) {
    const std::pair<DISPID, INVOKEKIND> key{member, invokeKind};
    if (auto known = classes_[index].declarations.find(key);
        known != classes_[index].declarations.end()) {
        return known->second;
    }
    Declaration read = readDeclaration(classes_[index], member, invokeKind);
    return classes_[index].declarations.emplace(key, std::move(read)).first->second;
}

ClassesSeen::Declaration* ClassesSeen::declarationFor(std::size_t index, DISPID member,
                                                      host::CallKind kind,
                                                      std::size_t argumentCount) {
    std::vector<INVOKEKIND> kinds;
    switch (kind) {
        case host::CallKind::get:
            kinds = argumentCount > 0 ? std::vector{INVOKE_FUNC, INVOKE_PROPERTYGET}
                                      : std::vector{INVOKE_PROPERTYGET, INVOKE_FUNC};
            break;
        case host::CallKind::put:
            kinds = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
            break;
        case host::CallKind::method:
            kinds = {INVOKE_FUNC};
            break;
    }
    for (INVOKEKIND invokeKind : kinds) {
        Declaration& declared = declaration(index, member, invokeKind);
        if (declared.found) {
            return &declared;
        }
    }
    return nullptr;
}

std::optional<std::size_t> ClassesSeen::returnedClass(Declaration& declared) {
    if (declared.returnedClassRead) {
        return declared.returnedClass;
    }
    declared.returnedClassRead = true;
    const ComPtr<ITypeInfo> info = std::move(declared.returnedFrom);
    if (!declared.returnedType || !info) {
        return std::nullopt;
    }
    ComPtr<ITypeInfo> returnedInfo;
    const HREFTYPE reference = *declared.returnedType;
    if (SUCCEEDED(calls_.run([&] {
            return info->GetRefTypeInfo(reference, returnedInfo.ReleaseAndGetAddressOf());
        }))) {
        declared.returnedClass = classOfTypeInfoObject(std::move(returnedInfo));
    }
    return declared.returnedClass;
}

ArgumentForms ClassesSeen::argumentForms(ObjectKnowledge& own, IDispatch* object,
                                         const host::InterfaceId& iid, DISPID member,
                                         host::CallKind kind, std::size_t argumentCount) {
    const std::optional<std::size_t> index = classOf(own, object, iid);
    if (!index || !classes_[*index].typeInfo) {
        return {};
    }
    const Declaration* declared = declarationFor(*index, member, kind, argumentCount);
    return declared != nullptr ? declared->forms : ArgumentForms{};
}

void ClassesSeen::learnResult(const ObjectKnowledge& caller, DISPID member, host::CallKind kind,
                              std::size_t argumentCount, ObjectKnowledge& result) {
    if (result.classAsked || !caller.classIndex || kind == host::CallKind::put ||
        !classes_[*caller.classIndex].typeInfo) {
        return;
    }
    const std::size_t index = *caller.classIndex;
    Declaration* declared = declarationFor(index, member, kind, argumentCount);
    if (declared == nullptr) {
        return;
    }
    auto takes = [argumentCount](const Declaration& d) {
        return static_cast<int>(argumentCount) <= d.parameters &&
               static_cast<int>(argumentCount) >= d.parameters - d.optionalParameters;
    };
    std::optional<std::size_t> learnt;
    if (takes(*declared)) {
        learnt = returnedClass(*declared);
    } else if (static_cast<int>(argumentCount) > declared->parameters) {
        // The arguments beyond the member's own go to the default member of
        // what it returns: "Models"(1) is Models.Item(1).
        const std::optional<std::size_t> collection = returnedClass(*declared);
        const std::size_t rest = argumentCount - static_cast<std::size_t>(declared->parameters);
        if (collection && classes_[*collection].typeInfo) {
            Declaration* item =
                declarationFor(*collection, DISPID_VALUE, host::CallKind::get, rest);
            if (item != nullptr && static_cast<int>(rest) <= item->parameters &&
                static_cast<int>(rest) >= item->parameters - item->optionalParameters) {
                learnt = returnedClass(*item);
            }
        }
    }
    if (learnt) {
        result.classIndex = learnt;
        result.classAsked = true;
    }
}

ClassesSeen::Found ClassesSeen::find(ObjectKnowledge& own, IDispatch* object,
                                     const host::InterfaceId& iid, std::u16string_view name) {
    if (auto kept = own.ids.find(name); kept != own.ids.end()) {
        return {kept->second, true};
    }
    const std::optional<std::size_t> index = classOf(own, object, iid);
    ObjectClass* shared = index && classes_[*index].shared ? &classes_[*index] : nullptr;
    if (shared != nullptr) {
        if (auto kept = shared->ids.find(name); kept != shared->ids.end()) {
            own.ids.emplace(name, kept->second);
            return {kept->second, true};
        }
    }
    const DISPID id = lookUp(object, name);
    own.ids.emplace(name, id);
    if (shared != nullptr) {
        shared->ids.emplace(name, id);
    }
    return {id, false};
}

std::optional<DISPID> ClassesSeen::refresh(ObjectKnowledge& own, IDispatch* object,
                                           std::u16string_view name, DISPID failed) {
    const DISPID id = lookUp(object, name);
    if (id == failed) {
        return std::nullopt;  // the object really has no such member now
    }
    if (auto kept = own.ids.find(name); kept != own.ids.end()) {
        kept->second = id;
    }
    if (own.classIndex) {
        ObjectClass& objectClass = classes_[*own.classIndex];
        if (auto kept = objectClass.ids.find(name);
            kept != objectClass.ids.end() && kept->second == failed) {
            // Objects of this class do not agree on the name: stop sharing.
            objectClass.shared = false;
            objectClass.ids.clear();
        }
    }
    return id;
}

void ClassesSeen::clear() {
    classes_.clear();
}

}  // namespace tav::com

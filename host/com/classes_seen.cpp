#include "host/com/classes_seen.h"

#include "host/com/guid.h"
#include "host/com/hresult_error.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

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
        [&] { return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.GetAddressOf()); });
    if (FAILED(hr) || !info) {
        typeInfoGiven_ = false;  // a host without type information: never ask again
        return std::nullopt;
    }
    return classOfTypeInfoObject(std::move(info));
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
    TYPEATTR* attributes = nullptr;
    ITypeInfo* info = objectClass.typeInfo.Get();
    if (SUCCEEDED(calls_.run([&] { return info->GetTypeAttr(&attributes); })) &&
        attributes != nullptr) {
        objectClass.described = fromGuid(attributes->guid);
        objectClass.functions = attributes->cFuncs;
        info->ReleaseTypeAttr(attributes);
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

void ClassesSeen::castSucceeded(const ObjectKnowledge& own, const host::InterfaceId& iid) {
    if (own.classIndex && classes_[*own.classIndex].typeInfo &&
        classes_[*own.classIndex].described != iid) {
        castsByTypeInfo_ = false;  // this host's type information names other interfaces
    }
}

void ClassesSeen::readDeclarations(std::size_t index) {
    if (classes_[index].declarations) {
        return;
    }
    classes_[index].declarations.emplace();
    readAttributes(classes_[index]);
    // Copies: reading a returned class may add classes and move these.
    const ComPtr<ITypeInfo> info = classes_[index].typeInfo;
    const UINT functions = classes_[index].functions;
    std::vector<std::pair<std::pair<DISPID, INVOKEKIND>, std::optional<HREFTYPE>>> members;
    for (UINT i = 0; info && i < functions; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(calls_.run([&] { return info->GetFuncDesc(i, &function); })) ||
            function == nullptr) {
            continue;
        }
        const TYPEDESC& returned = function->elemdescFunc.tdesc;
        std::optional<HREFTYPE> reference;
        if (returned.vt == VT_PTR && returned.lptdesc != nullptr &&
            returned.lptdesc->vt == VT_USERDEFINED) {
            reference = returned.lptdesc->hreftype;
        }
        if (function->funckind == FUNC_DISPATCH && (reference || returned.vt == VT_DISPATCH)) {
            members.push_back({{function->memid, function->invkind}, reference});
        }
        info->ReleaseFuncDesc(function);
    }
    std::map<std::pair<DISPID, INVOKEKIND>, std::optional<std::size_t>> declared;
    for (const auto& [member, reference] : members) {
        ComPtr<ITypeInfo> returnedType;
        if (reference && SUCCEEDED(calls_.run([&] {
                return info->GetRefTypeInfo(*reference, returnedType.GetAddressOf());
            }))) {
            declared[member] = classOfTypeInfoObject(std::move(returnedType));
        } else {
            declared[member] = std::nullopt;  // any object
        }
    }
    classes_[index].declarations = std::move(declared);
}

void ClassesSeen::learnResult(const ObjectKnowledge& caller, DISPID member, bool method,
                              ObjectKnowledge& result) {
    if (result.classAsked || !caller.classIndex) {
        return;
    }
    readDeclarations(*caller.classIndex);
    const auto& declarations = *classes_[*caller.classIndex].declarations;
    const auto found = declarations.find({member, method ? INVOKE_FUNC : INVOKE_PROPERTYGET});
    if (found != declarations.end() && found->second) {
        result.classIndex = found->second;
        result.classAsked = true;
    }
}

void ClassesSeen::castTo(ObjectKnowledge& own, const host::InterfaceId& iid) {
    own.classIndex = classOfInterface(iid);
    own.classAsked = true;
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

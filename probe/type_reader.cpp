#include "probe/type_reader.h"

#include "host/com/bstr.h"
#include "host/com/guid.h"
#include "host/com/type_descriptions.h"
#include "host/types/guid_text.h"
#include "platform/win/wide_text.h"
#include "probe/raw_calls.h"

namespace tav::probe {
namespace {

using Microsoft::WRL::ComPtr;

std::string typeKindText(TYPEKIND kind) {
    switch (kind) {
        case TKIND_ENUM:
            return "enum";
        case TKIND_RECORD:
            return "record";
        case TKIND_MODULE:
            return "module";
        case TKIND_INTERFACE:
            return "interface";
        case TKIND_DISPATCH:
            return "dispatch";
        case TKIND_COCLASS:
            return "coclass";
        case TKIND_ALIAS:
            return "alias";
        case TKIND_UNION:
            return "union";
        default:
            return "unknown";
    }
}

hosttypes::InvokeKind invokeKindOf(INVOKEKIND kind) {
    switch (kind) {
        case INVOKE_PROPERTYGET:
            return hosttypes::InvokeKind::get;
        case INVOKE_PROPERTYPUT:
            return hosttypes::InvokeKind::put;
        case INVOKE_PROPERTYPUTREF:
            return hosttypes::InvokeKind::putReference;
        default:
            return hosttypes::InvokeKind::method;
    }
}

}  // namespace

std::string typeNameOf(com::CallWatch& calls, ITypeInfo& info) {
    com::UniqueBstr name;
    if (FAILED(calls.run([&] {
            return info.GetDocumentation(MEMBERID_NIL, name.receive(), nullptr, nullptr, nullptr);
        }))) {
        return {};
    }
    const std::u16string text = com::textOf(name.get());
    return platform::utf8Text(std::wstring(text.begin(), text.end()));
}

TypeReading::TypeReading(com::CallWatch& calls, IDispatch* object) : calls_(calls) {
    const HRESULT hr = calls_.run([&] {
        return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info_.ReleaseAndGetAddressOf());
    });
    if (FAILED(hr) || !info_) {
        problem_ = FAILED(hr) ? hosttypes::answerText(hr) : "none given";
        return;
    }
    com::UniqueTypeAttr read;
    const HRESULT attributesRead =
        calls_.run([&] { return info_->GetTypeAttr(read.receive(info_)); });
    if (FAILED(attributesRead) || !read) {
        problem_ = "attributes: " + hosttypes::answerText(attributesRead);
        return;
    }
    hosttypes::TypeAttributes attributes;
    attributes.name = typeNameOf(calls_, *info_.Get());
    attributes.guid = hosttypes::guidText(com::fromGuid(read->guid));
    attributes.typeKind = typeKindText(read->typekind);
    attributes.functions = read->cFuncs;
    attributes.variables = read->cVars;
    attributes.implementedTypes = read->cImplTypes;
    attributes_ = attributes;
}

void TypeReading::readFunctions() {
    if (functionsRead_ || !info_ || !attributes_) {
        return;
    }
    functionsRead_ = true;
    for (UINT index = 0; index < static_cast<UINT>(attributes_->functions); ++index) {
        com::UniqueFuncDesc description;
        if (SUCCEEDED(calls_.run(
                [&] { return info_->GetFuncDesc(index, description.receive(info_)); })) &&
            description) {
            functions_.emplace_back(description->memid, index);
        }
    }
}

hosttypes::DeclaredType TypeReading::typeOf(const TYPEDESC& type) {
    hosttypes::DeclaredType declared;
    const TYPEDESC* at = &type;
    while (at->vt == VT_PTR && at->lptdesc != nullptr) {
        ++declared.pointers;
        at = at->lptdesc;
    }
    if (at->vt == VT_SAFEARRAY && at->lptdesc != nullptr) {
        declared.safeArray = true;
        at = at->lptdesc;
    }
    if (at->vt != VT_USERDEFINED) {
        declared.base = at->vt;
        return declared;
    }
    declared.base = hosttypes::vt::userDefined;
    ComPtr<ITypeInfo> named;
    const HREFTYPE reference = at->hreftype;
    if (SUCCEEDED(calls_.run(
            [&] { return info_->GetRefTypeInfo(reference, named.ReleaseAndGetAddressOf()); }))) {
        declared.userName = typeNameOf(calls_, *named.Get());
    }
    if (declared.userName.empty()) {
        declared.userName = "Unnamed";
    }
    return declared;
}

std::vector<hosttypes::DeclaredFunction> TypeReading::declaredUnder(DISPID id) {
    readFunctions();
    std::vector<hosttypes::DeclaredFunction> found;
    for (const auto& [memid, index] : functions_) {
        if (memid != id) {
            continue;
        }
        com::UniqueFuncDesc description;
        if (FAILED(calls_.run(
                [&] { return info_->GetFuncDesc(index, description.receive(info_)); })) ||
            !description) {
            continue;
        }
        hosttypes::DeclaredFunction function;
        function.id = description->memid;
        function.kind = invokeKindOf(description->invkind);
        function.optionalParameters = description->cParamsOpt;
        for (SHORT i = 0; i < description->cParams; ++i) {
            function.parameters.push_back(typeOf(description->lprgelemdescParam[i].tdesc));
        }
        function.returns = typeOf(description->elemdescFunc.tdesc);
        com::UniqueBstr name;
        UINT names = 0;
        if (SUCCEEDED(calls_.run(
                [&] { return info_->GetNames(description->memid, name.receive(), 1, &names); })) &&
            names > 0) {
            const std::u16string text = com::textOf(name.get());
            function.name = platform::utf8Text(std::wstring(text.begin(), text.end()));
        }
        found.push_back(std::move(function));
    }
    return found;
}

}  // namespace tav::probe

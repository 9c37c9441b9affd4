#include "tools/sehost-sim/type_library.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "host/com/guid.h"
#include "host/error.h"
#include "platform/utf.h"
#include "platform/win/wide_text.h"
#include "tools/sehost-sim/server_ids.h"

#ifdef __MINGW32__
// Declared by the Windows SDK's oleauto.h (Vista and later), exported by
// MinGW's oleaut32 import library but missing from its header.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD major, WORD minor, LCID locale,
                                        SYSKIND kind);
}
#endif

namespace tav::sehost {
namespace {

using Microsoft::WRL::ComPtr;

const std::wstring typeLibraryFilePrefix = L"sehost-sim-";
const wchar_t typeLibraryFileKey[] =
    L"Software\\Classes\\TypeLib\\{AE3D29E5-F2BF-4AB1-9D50-58D063EAFF22}\\1.0\\0\\win64";

void check(HRESULT hr, const char* step) {
    if (FAILED(hr)) {
        throw std::runtime_error(std::string("type library: ") + step + " failed (" +
                                 host::hexNumberText(hr) + ")");
    }
}

// A declared type as the TYPEDESC chain ICreateTypeInfo takes: the descs
// live as long as the chain, user-defined types resolved to the library's
// own types by name (an unknown name: IDispatch by pointer, else a Long).
class TypeDescChain {
  public:
    TypeDescChain(const hosttypes::DeclaredType& type, ICreateTypeInfo& owner,
                  const std::map<std::wstring, ComPtr<ICreateTypeInfo>>& types) {
        TYPEDESC* at = &top_;
        for (int i = 0; i < type.pointers; ++i) {
            at->vt = VT_PTR;
            at->lptdesc = next();
            at = at->lptdesc;
        }
        if (type.safeArray) {
            at->vt = VT_SAFEARRAY;
            at->lptdesc = next();
            at = at->lptdesc;
        }
        if (type.base != hosttypes::vt::userDefined) {
            at->vt = type.base;
            return;
        }
        const auto found = types.find(platform::wideText(platform::toUtf16(type.userName)));
        if (found == types.end()) {
            at->vt = type.isObject() ? VT_DISPATCH : VT_I4;
            if (type.isObject() && at != &top_) {
                // IDispatch* is VT_DISPATCH itself, not a pointer to one.
                top_.vt = VT_DISPATCH;
            }
            return;
        }
        ComPtr<ITypeInfo> target;
        check(found->second.As(&target), "finding a declared type");
        HREFTYPE reference = 0;
        check(owner.AddRefTypeInfo(target.Get(), &reference), "AddRefTypeInfo");
        at->vt = VT_USERDEFINED;
        at->hreftype = reference;
    }

    const TYPEDESC& get() const { return top_; }

  private:
    TYPEDESC* next() {
        links_.emplace_back();
        return &links_.back();
    }

    TYPEDESC top_{};
    std::deque<TYPEDESC> links_;
};

ComPtr<ICreateTypeInfo> createType(ICreateTypeLib2& library, ITypeInfo& dispatchInfo,
                                   const sim::ServedType& type) {
    const std::wstring name = platform::wideText(type.name);
    ComPtr<ICreateTypeInfo> info;
    check(library.CreateTypeInfo(const_cast<LPOLESTR>(name.c_str()),
                                 type.enumeration ? TKIND_ENUM : TKIND_DISPATCH, &info),
          "CreateTypeInfo");
    check(info->SetGuid(com::toGuid(type.guid)), "SetGuid");
    if (type.enumeration) {
        return info;
    }
    check(info->SetTypeFlags(TYPEFLAG_FDISPATCHABLE), "SetTypeFlags");
    HREFTYPE dispatchType = 0;
    check(info->AddRefTypeInfo(&dispatchInfo, &dispatchType), "AddRefTypeInfo");
    check(info->AddImplType(0, dispatchType), "AddImplType");
    return info;
}

INVOKEKIND invokeKindOf(hosttypes::InvokeKind kind) {
    switch (kind) {
        case hosttypes::InvokeKind::get:
            return INVOKE_PROPERTYGET;
        case hosttypes::InvokeKind::put:
            return INVOKE_PROPERTYPUT;
        case hosttypes::InvokeKind::putReference:
            return INVOKE_PROPERTYPUTREF;
        case hosttypes::InvokeKind::method:
            break;
    }
    return INVOKE_FUNC;
}

// The type's functions (with their parameter and result types) and its
// properties declared as variables.
void declareMembers(ICreateTypeInfo& info, const sim::ServedType& type,
                    const std::map<std::wstring, ComPtr<ICreateTypeInfo>>& types) {
    UINT index = 0;
    for (const hosttypes::DeclaredFunction& declared : type.functions) {
        std::vector<TypeDescChain> chains;
        chains.reserve(declared.parameters.size());
        for (const hosttypes::DeclaredType& parameter : declared.parameters) {
            chains.emplace_back(parameter, info, types);
        }
        std::vector<ELEMDESC> parameters(declared.parameters.size());
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            parameters[i].tdesc = chains[i].get();
            parameters[i].paramdesc.wParamFlags = declared.parameters[i].byReference()
                                                      ? PARAMFLAG_FIN | PARAMFLAG_FOUT
                                                      : PARAMFLAG_FIN;
        }
        const TypeDescChain returned(declared.returns, info, types);
        FUNCDESC function{};
        function.memid = declared.id;
        function.funckind = FUNC_DISPATCH;
        function.invkind = invokeKindOf(declared.kind);
        function.callconv = CC_STDCALL;
        function.cParams = static_cast<SHORT>(parameters.size());
        function.cParamsOpt = static_cast<SHORT>(declared.optionalParameters);
        function.lprgelemdescParam = parameters.empty() ? nullptr : parameters.data();
        function.elemdescFunc.tdesc = returned.get();
        check(info.AddFuncDesc(index, &function), "AddFuncDesc");
        std::wstring name = platform::wideText(platform::toUtf16(declared.name));
        LPOLESTR names[1] = {name.data()};
        check(info.SetFuncAndParamNames(index, names, 1), "SetFuncAndParamNames");
        ++index;
    }
    for (int k = 0; k < type.variables; ++k) {
        VARDESC variable{};
        variable.memid = sim::lastOwnId - k;
        variable.varkind = VAR_DISPATCH;
        variable.elemdescVar.tdesc.vt = VT_VARIANT;
        check(info.AddVarDesc(static_cast<UINT>(k), &variable), "AddVarDesc");
        std::wstring name = L"Variable" + std::to_wstring(k + 1);
        check(info.SetVarName(static_cast<UINT>(k), name.data()), "SetVarName");
    }
}

void build(const std::filesystem::path& file, const sim::ServedLibrary& served) {
    ComPtr<ITypeLib> standard;
    check(LoadTypeLib(L"stdole2.tlb", &standard), "loading stdole2.tlb");
    ComPtr<ITypeInfo> dispatchInfo;
    check(standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatchInfo), "finding IDispatch");

    ComPtr<ICreateTypeLib2> library;
    check(CreateTypeLib2(SYS_WIN64, file.c_str(), &library), "CreateTypeLib2");
    check(library->SetGuid(typeLibraryId), "SetGuid");
    check(library->SetName(const_cast<LPOLESTR>(L"SehostSimTypes")), "SetName");
    check(library->SetVersion(1, 0), "SetVersion");
    check(library->SetLcid(LOCALE_NEUTRAL), "SetLcid");
    // Every type first, so that the members can name the types they use.
    std::map<std::wstring, ComPtr<ICreateTypeInfo>> types;
    for (const sim::ServedType& type : served.types) {
        types[platform::wideText(type.name)] =
            createType(*library.Get(), *dispatchInfo.Get(), type);
    }
    for (const sim::ServedType& type : served.types) {
        declareMembers(*types.at(platform::wideText(type.name)).Get(), type, types);
    }
    for (const auto& [name, info] : types) {
        check(info->LayOut(), "LayOut");
    }
    check(library->SaveAllChanges(), "SaveAllChanges");
}

void unregister(RegistrationScope scope) {
    GUID id = typeLibraryId;
    if (scope == RegistrationScope::user) {
        UnRegisterTypeLibForUser(id, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    } else {
        UnRegisterTypeLib(id, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    }
}

}  // namespace

RegisteredTypeLibrary::RegisteredTypeLibrary(const std::filesystem::path& file,
                                             RegistrationScope scope,
                                             const sim::ServedLibrary& served)
    : file_(file), scope_(scope) {
    build(file_, served);
    check(LoadTypeLibEx(file_.c_str(), REGKIND_NONE, library_.GetAddressOf()), "LoadTypeLibEx");
    std::wstring path = file_.wstring();
    if (scope_ == RegistrationScope::user) {
        check(RegisterTypeLibForUser(library_.Get(), path.data(), nullptr),
              "RegisterTypeLibForUser");
    } else {
        check(RegisterTypeLib(library_.Get(), path.data(), nullptr), "RegisterTypeLib");
    }
}

ComPtr<ITypeInfo> RegisteredTypeLibrary::typeInfoOf(const host::InterfaceId& id) const {
    ComPtr<ITypeInfo> info;
    library_->GetTypeInfoOfGuid(com::toGuid(id), info.GetAddressOf());
    return info;
}

RegisteredTypeLibrary::~RegisteredTypeLibrary() {
    library_.Reset();
    unregister(scope_);
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
}

void removeLeftoverTypeLibrary() {
    // The file of a server that crashed is still where it registered it.
    std::vector<std::filesystem::path> files;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        wchar_t path[MAX_PATH] = {};
        DWORD size = sizeof path - sizeof(wchar_t);
        if (RegGetValueW(root, typeLibraryFileKey, nullptr, RRF_RT_REG_SZ, nullptr, path, &size) ==
            ERROR_SUCCESS) {
            files.emplace_back(path);
        }
    }
    unregister(RegistrationScope::user);
    unregister(RegistrationScope::machine);
    for (const std::filesystem::path& file : files) {
        if (file.filename().wstring().starts_with(typeLibraryFilePrefix)) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
        }
    }
}

std::filesystem::path typeLibraryFile() {
    std::error_code ignored;
    return std::filesystem::temp_directory_path(ignored) /
           (typeLibraryFilePrefix + std::to_wstring(GetCurrentProcessId()) + L".tlb");
}

}  // namespace tav::sehost

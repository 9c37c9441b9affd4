#include "tools/sehost-sim/type_library.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "platform/win/wide_text.h"
#include "tools/sehost-sim/host_classes.h"
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
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
        throw std::runtime_error(std::string("type library: ") + step + " failed (" + code + ")");
    }
}

ComPtr<ICreateTypeInfo> createDispatchInterface(ICreateTypeLib2& library, ITypeInfo& dispatchInfo,
                                                const sim::ObjectClass& objectClass) {
    const std::wstring name = platform::wideText(objectClass.name);
    ComPtr<ICreateTypeInfo> info;
    check(library.CreateTypeInfo(const_cast<LPOLESTR>(name.c_str()), TKIND_DISPATCH, &info),
          "CreateTypeInfo");
    check(info->SetGuid(typeIdOf(objectClass)), "SetGuid");
    check(info->SetTypeFlags(TYPEFLAG_FDISPATCHABLE), "SetTypeFlags");
    HREFTYPE dispatchType = 0;
    check(info->AddRefTypeInfo(&dispatchInfo, &dispatchType), "AddRefTypeInfo");
    check(info->AddImplType(0, dispatchType), "AddImplType");
    return info;
}

// The class's members that return objects, each with the type of what it
// returns: a pointer to the class's type, or IDispatch where it may be any.
// A collection's item takes its index, a creation its name and template.
void declareObjectMembers(ICreateTypeInfo& info, const sim::ObjectClass& objectClass,
                          const std::map<const sim::ObjectClass*, ComPtr<ICreateTypeInfo>>& all,
                          const MemberNames& names) {
    UINT index = 0;
    for (const sim::ObjectMember& member : objectClass.objectMembers) {
        TYPEDESC returned{};
        TYPEDESC pointer{};
        if (member.returns != nullptr) {
            ComPtr<ITypeInfo> target;
            check(all.at(member.returns).As(&target), "finding a returned type");
            HREFTYPE reference = 0;
            check(info.AddRefTypeInfo(target.Get(), &reference), "AddRefTypeInfo");
            returned.vt = VT_USERDEFINED;
            returned.hreftype = reference;
            pointer.vt = VT_PTR;
            pointer.lptdesc = &returned;
        } else {
            pointer.vt = VT_DISPATCH;
        }
        ELEMDESC parameters[2]{};
        for (ELEMDESC& parameter : parameters) {
            parameter.tdesc.vt = VT_VARIANT;
        }
        FUNCDESC function{};
        function.memid = member.name.empty()
                             ? member.id
                             : names.numberOf(objectClass, member.name).value_or(member.id);
        function.funckind = FUNC_DISPATCH;
        function.invkind = member.method ? INVOKE_FUNC : INVOKE_PROPERTYGET;
        function.callconv = CC_STDCALL;
        function.cParams = member.method ? 2 : (member.id == host::dispatch::defaultMember ? 1 : 0);
        function.lprgelemdescParam = function.cParams > 0 ? parameters : nullptr;
        function.elemdescFunc.tdesc = pointer;
        check(info.AddFuncDesc(index, &function), "AddFuncDesc");
        std::wstring name = L"Member" + std::to_wstring(member.id);
        LPOLESTR functionName[1] = {name.data()};
        check(info.SetFuncAndParamNames(index, functionName, 1), "SetFuncAndParamNames");
        ++index;
    }
}

void build(const std::filesystem::path& file, const MemberNames& names) {
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
    // Every type first, so that the members can name the types they return.
    std::map<const sim::ObjectClass*, ComPtr<ICreateTypeInfo>> types;
    for (const sim::ObjectClass* objectClass : sim::allClasses()) {
        types[objectClass] =
            createDispatchInterface(*library.Get(), *dispatchInfo.Get(), *objectClass);
    }
    for (const auto& [objectClass, info] : types) {
        declareObjectMembers(*info.Get(), *objectClass, types, names);
    }
    for (const auto& [objectClass, info] : types) {
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
                                             RegistrationScope scope, const MemberNames& names)
    : file_(file), scope_(scope) {
    build(file_, names);
    check(LoadTypeLibEx(file_.c_str(), REGKIND_NONE, library_.GetAddressOf()), "LoadTypeLibEx");
    std::wstring path = file_.wstring();
    if (scope_ == RegistrationScope::user) {
        check(RegisterTypeLibForUser(library_.Get(), path.data(), nullptr),
              "RegisterTypeLibForUser");
    } else {
        check(RegisterTypeLib(library_.Get(), path.data(), nullptr), "RegisterTypeLib");
    }
}

ComPtr<ITypeInfo> RegisteredTypeLibrary::typeInfoOf(const sim::ObjectClass& objectClass) const {
    ComPtr<ITypeInfo> info;
    library_->GetTypeInfoOfGuid(typeIdOf(objectClass), info.GetAddressOf());
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

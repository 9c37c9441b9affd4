#include "tools/sehost-sim/class_registration.h"

#include <combaseapi.h>

#include <stdexcept>

#include "platform/win/unique_resource.h"
#include "platform/win/wide_text.h"
#include "tools/sehost-sim/server_ids.h"

namespace tav::sehost {
namespace {

HKEY rootOf(RegistrationScope scope) {
    return scope == RegistrationScope::user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

const std::wstring classesPath = L"Software\\Classes\\";
const std::wstring progIdPath = classesPath + progId;
const std::wstring classPath = classesPath + L"CLSID\\" + serverClassIdText;

// The default value of `path` under `root`, or nothing when the key or value
// is missing.
std::optional<std::wstring> defaultValue(HKEY root, const std::wstring& path) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(buffer);
}

}  // namespace

std::wstring registeredClassId(RegistrationScope scope) {
    return defaultValue(rootOf(scope), progIdPath + L"\\CLSID").value_or(L"");
}

ExistingRegistration existingRegistration(RegistrationScope scope) {
    platform::UniqueRegistryKey key;
    if (RegOpenKeyExW(rootOf(scope), progIdPath.c_str(), 0, KEY_READ, key.receive()) !=
        ERROR_SUCCESS) {
        return ExistingRegistration::none;
    }
    return _wcsicmp(registeredClassId(scope).c_str(), serverClassIdText) == 0
               ? ExistingRegistration::leftoverOfOurs
               : ExistingRegistration::foreign;
}

void removeLeftover(RegistrationScope scope) {
    RegDeleteTreeW(rootOf(scope), progIdPath.c_str());
    RegDeleteTreeW(rootOf(scope), classPath.c_str());
}

ClassRegistration::ClassRegistration(RegistrationScope scope) : scope_(scope) {
    struct Entry {
        std::wstring path;
        std::wstring value;
    };
    const Entry entries[] = {
        {progIdPath, serverDescription},
        {progIdPath + L"\\CLSID", serverClassIdText},
        {classPath, serverDescription},
        {classPath + L"\\ProgID", progId},
    };
    for (const Entry& entry : entries) {
        platform::UniqueRegistryKey key;
        DWORD disposition = 0;
        const LSTATUS status =
            RegCreateKeyExW(rootOf(scope_), entry.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, key.receive(), &disposition);
        if (status != ERROR_SUCCESS) {
            removeMadeKeys();
            const std::string where = platform::utf8Text(entry.path);
            if (status == ERROR_ACCESS_DENIED) {
                throw RegistrationDenied("writing " + where + " is not allowed");
            }
            throw std::runtime_error("writing " + where + " failed (error " +
                                     std::to_string(status) + ")");
        }
        if (disposition == REG_CREATED_NEW_KEY) {
            madeKeys_.push_back(entry.path);
        }
        const auto bytes = static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(entry.value.c_str()), bytes);
    }
}

ClassRegistration::~ClassRegistration() {
    removeMadeKeys();
}

void ClassRegistration::removeMadeKeys() {
    // Deepest first, so that a parent goes after its children.
    for (auto path = madeKeys_.rbegin(); path != madeKeys_.rend(); ++path) {
        RegDeleteTreeW(rootOf(scope_), path->c_str());
    }
    madeKeys_.clear();
}

bool comResolvesToServer() {
    CLSID resolved{};
    return SUCCEEDED(CLSIDFromProgID(progId, &resolved)) && IsEqualCLSID(resolved, serverClassId);
}

}  // namespace tav::sehost

#include "tools/bench-com/machine.h"

#include <windows.h>

#include <vector>

#include "platform/win/wide_text.h"

namespace tav::benchcom {
namespace {

std::string processorName() {
    const wchar_t* key = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
        return "unknown processor";
    }
    std::vector<wchar_t> name(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr,
                     name.data(), &bytes) != ERROR_SUCCESS) {
        return "unknown processor";
    }
    return platform::utf8Text(name.data());
}

// Wine's ntdll exports its version; Windows' has no such function.
std::string wineVersion() {
    using WineGetVersion = const char*(__cdecl*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const FARPROC found = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (found == nullptr) {
        return {};
    }
    // Through the generic function pointer type, which any function pointer
    // may be cast to and back.
    const auto getVersion = reinterpret_cast<WineGetVersion>(reinterpret_cast<void (*)()>(found));
    return getVersion();
}

}  // namespace

std::string machineDescription() {
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    std::string text =
        processorName() + ", " + std::to_string(system.dwNumberOfProcessors) + " processors";
    const std::string wine = wineVersion();
    text += wine.empty() ? ", Windows" : ", Wine " + wine;
    return text;
}

}  // namespace tav::benchcom

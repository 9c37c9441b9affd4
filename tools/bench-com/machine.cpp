#include "tools/bench-com/machine.h"

#include <windows.h>

#include <vector>

namespace tav::benchcom {
namespace {

std::string narrow(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

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
    return narrow(name.data());
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

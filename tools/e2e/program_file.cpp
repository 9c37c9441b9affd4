#include "tools/e2e/program_file.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "platform/win/unique_resource.h"
#include "platform/win/wide_text.h"
#include "tools/e2e/window_probe.h"

namespace tav::e2e {
namespace {

std::wstring versionString(const std::vector<unsigned char>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (VerQueryValueW(info.data(), key.c_str(), &value, &length) == FALSE || length == 0) {
        return {};
    }
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

}  // namespace

void checkProgramFile(Checks& checks, const std::wstring& program) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    std::vector<unsigned char> info(size);
    if (!checks.expect(
            size > 0 && GetFileVersionInfoW(program.c_str(), 0, size, info.data()) != FALSE,
            "the program carries version information")) {
        return;
    }
    void* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info.data(), L"\\", &fixed, &length) != FALSE &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* version = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        checks.expect(version->dwFileVersionMS == MAKELONG(4, 3) &&
                          version->dwFileVersionLS == MAKELONG(1, 0) &&
                          version->dwProductVersionMS == MAKELONG(4, 3) &&
                          version->dwProductVersionLS == MAKELONG(1, 0),
                      "file and product version 3.4.0.1");
    } else {
        checks.fail("the program has a fixed version block");
    }
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        checks.expect(versionString(info, name) == L"3.4.0.1",
                      compared(platform::utf8Text(name), "3.4.0.1",
                               platform::utf8Text(versionString(info, name))));
    }
    for (const wchar_t* name : {L"ProductName", L"FileDescription"}) {
        checks.expect(versionString(info, name) == L"Tavrelmondix",
                      compared(platform::utf8Text(name), "Tavrelmondix",
                               platform::utf8Text(versionString(info, name))));
    }
    platform::UniqueIcon large;
    const UINT icons = ExtractIconExW(program.c_str(), 0, large.receive(), nullptr, 1);
    checks.expect(icons >= 1 && large, "the program has an icon of its own");
}

}  // namespace tav::e2e

#include "platform/win/program_folder.h"

#include <windows.h>

#include <string>

namespace tav::platform {

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: a longer path
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace tav::platform

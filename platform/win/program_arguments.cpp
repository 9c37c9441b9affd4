#include "platform/win/program_arguments.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win/unique_resource.h"

namespace tav::platform {

std::vector<std::wstring> programArguments() {
    int count = 0;
    const UniqueLocalMemory<LPWSTR*> split(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> args;
    for (int i = 1; split && i < count; ++i) {
        args.emplace_back(split.get()[i]);
    }
    return args;
}

}  // namespace tav::platform

// The platform tests' program, and the child the launcher's tests start.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "child_roles.h"
#include "platform/win/unique_resource.h"
#include "platform/win/wide_text.h"

namespace {

using namespace tav::platform;

int playChild(int count, wchar_t** arguments) {
    const std::wstring role = arguments[1];
    if (role == test::printArguments) {
        for (int i = 2; i < count; ++i) {
            std::printf("%s\n", utf8Text(arguments[i]).c_str());
        }
        std::printf("end\n");
        return 0;
    }
    if (role == test::readInput) {
        char buffer[64];
        while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
        }
        std::printf("input ended\n");
        return 3;
    }
    if (role == test::writeError && count > 2) {
        std::fprintf(stderr, "%s", utf8Text(arguments[2]).c_str());
        return 0;
    }
    if (role == test::waitLong) {
        Sleep(60000);
        return 0;
    }
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    const UniqueLocalMemory<LPWSTR*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (arguments && count > 1 && std::wstring(arguments.get()[1]).starts_with(L"--") &&
        !std::wstring(arguments.get()[1]).starts_with(L"--gtest")) {
        return playChild(count, arguments.get());
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

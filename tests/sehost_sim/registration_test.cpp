// The server as Solid Edge's place in the registry sees it: reachable once
// it says "ready", gone without a trace when it ends, never taking over
// another program's registration, replacing what a crashed server left.
#include <gtest/gtest.h>

#include <filesystem>

#include "dispatch_client.h"
#include "platform/win/unique_resource.h"
#include "server_process.h"

namespace tav::sehost::test {
namespace {

const wchar_t progIdKey[] = L"Software\\Classes\\SolidEdge.Application";
const wchar_t classKey[] = L"Software\\Classes\\CLSID\\{A9B7BF5C-22E8-4248-89AA-2F901C7BDCFE}";
const wchar_t typeLibraryKey[] =
    L"Software\\Classes\\TypeLib\\{AE3D29E5-F2BF-4AB1-9D50-58D063EAFF22}";
const wchar_t applicationInterfaceKey[] =
    L"Software\\Classes\\Interface\\{DED89DB0-45B6-11CE-B307-0800363A1E02}";

bool keyExists(HKEY root, const wchar_t* path) {
    platform::UniqueRegistryKey key;
    return RegOpenKeyExW(root, path, 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

bool anyKeyLeft() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const wchar_t* path : {progIdKey, classKey, typeLibraryKey, applicationInterfaceKey}) {
            if (keyExists(root, path)) {
                return true;
            }
        }
    }
    return false;
}

// Type library files that servers left in the temporary folder.
int typeLibraryFilesLeft() {
    int left = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
        const std::wstring name = entry.path().filename().wstring();
        left += name.starts_with(L"sehost-sim-") && name.ends_with(L".tlb") ? 1 : 0;
    }
    return left;
}

bool progIdResolves() {
    CLSID classId{};
    return SUCCEEDED(CLSIDFromProgID(L"SolidEdge.Application", &classId));
}

void writeForeignRegistration(HKEY root) {
    platform::UniqueRegistryKey key;
    const std::wstring path = std::wstring(progIdKey) + L"\\CLSID";
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.receive(), nullptr);
    const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other),
                   sizeof other);
}

class ServerRegistration : public ::testing::Test {
  protected:
    TestApartment apartment;
};

TEST_F(ServerRegistration, OnceReadyTheApplicationAnswersFromAnotherProcess) {
    platform::ChildProcess server = startServer({sceneFile("one-view.scene.json")});
    ASSERT_TRUE(waitReady(server));
    ComPtr<IDispatch> application;
    ASSERT_EQ(runningApplication(application), S_OK);
    Variant interactive;
    ASSERT_EQ(get(application.Get(), host::dispatch::application::interactive, interactive), S_OK);
    EXPECT_EQ(interactive.value.vt, VT_BOOL);
    EXPECT_EQ(interactive.value.boolVal, VARIANT_TRUE);
    application.Reset();
    server.closeInput();
    EXPECT_EQ(waitExit(server), 0);
}

TEST_F(ServerRegistration, EndingRemovesEveryKeyItMade) {
    {
        platform::ChildProcess server = startServer({sceneFile("one-view.scene.json")});
        ASSERT_TRUE(waitReady(server));
        EXPECT_TRUE(progIdResolves());
        server.closeInput();
        EXPECT_EQ(waitExit(server), 0);
    }
    EXPECT_FALSE(progIdResolves());
    EXPECT_FALSE(anyKeyLeft());
}

TEST_F(ServerRegistration, AHostThatIsNotRunningRegistersNothing) {
    platform::ChildProcess server = startServer({sceneFile("not-running.scene.json")});
    ASSERT_TRUE(waitReady(server));
    ComPtr<IDispatch> application;
    EXPECT_TRUE(FAILED(runningApplication(application)));
    EXPECT_FALSE(anyKeyLeft());
    server.closeInput();
    EXPECT_EQ(waitExit(server), 0);
}

TEST_F(ServerRegistration, ASecondServerIsRefusedAndTheFirstKeepsServing) {
    platform::ChildProcess first = startServer({sceneFile("one-view.scene.json")});
    ASSERT_TRUE(waitReady(first));
    {
        platform::ChildProcess second = startServer({sceneFile("one-view.scene.json")});
        EXPECT_EQ(waitExit(second), 2);
        EXPECT_NE(second.errorOutputSoFar().find("another sehost-sim is serving"),
                  std::string::npos);
    }
    ComPtr<IDispatch> application;
    EXPECT_EQ(runningApplication(application), S_OK);
    application.Reset();
    first.closeInput();
    EXPECT_EQ(waitExit(first), 0);
    EXPECT_FALSE(anyKeyLeft());
}

TEST_F(ServerRegistration, AnotherProgramsRegistrationIsRefusedAndLeftAlone) {
    writeForeignRegistration(HKEY_LOCAL_MACHINE);
    {
        platform::ChildProcess server = startServer({sceneFile("one-view.scene.json")});
        EXPECT_EQ(waitExit(server), 2);
        EXPECT_NE(server.errorOutputSoFar().find("by another program"), std::string::npos);
    }
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, progIdKey));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey);
    EXPECT_FALSE(anyKeyLeft());
}

TEST_F(ServerRegistration, AllowingInstalledProgramsNeverOverwritesTheirRegistration) {
    writeForeignRegistration(HKEY_LOCAL_MACHINE);
    {
        platform::ChildProcess server =
            startServer({sceneFile("one-view.scene.json"), L"--allow-installed"});
        if (waitReady(server)) {
            // COM sees the user's classes here (Windows): served beside it.
            server.closeInput();
            EXPECT_EQ(waitExit(server), 0);
        } else {
            // COM sees only the machine's classes (Wine): nothing to serve beside.
            EXPECT_EQ(waitExit(server), 2);
            EXPECT_NE(server.errorOutputSoFar().find("belongs to another program"),
                      std::string::npos);
        }
    }
    EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, progIdKey));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey);
    EXPECT_FALSE(anyKeyLeft());
}

TEST_F(ServerRegistration, ALeftoverOfACrashedServerIsReplaced) {
    const int filesBefore = typeLibraryFilesLeft();
    {
        platform::ChildProcess crashing = startServer({sceneFile("crash.scene.json")});
        ASSERT_TRUE(waitReady(crashing));
        ComPtr<IDispatch> application;
        ASSERT_EQ(runningApplication(application), S_OK);
        Variant value;
        EXPECT_EQ(get(application.Get(), host::dispatch::application::interactive, value), S_OK);
        // Call 2 ends the server at once: the call fails with the RPC error.
        EXPECT_TRUE(
            FAILED(get(application.Get(), host::dispatch::application::delayCompute, value)));
        EXPECT_EQ(waitExit(crashing), 70);
    }
    EXPECT_TRUE(progIdResolves());
    {
        platform::ChildProcess server = startServer({sceneFile("one-view.scene.json")});
        ASSERT_TRUE(waitReady(server));
        ComPtr<IDispatch> application;
        EXPECT_EQ(runningApplication(application), S_OK);
        application.Reset();
        server.closeInput();
        EXPECT_EQ(waitExit(server), 0);
    }
    EXPECT_FALSE(anyKeyLeft());
    EXPECT_EQ(typeLibraryFilesLeft(), filesBefore);
}

}  // namespace
}  // namespace tav::sehost::test

// What a client's session leaves in the server's result file, and how the
// server's run ends: the host's side of the result with call numbers, a busy
// host that rejects a call before serving it, the program it runs and the
// timeout that bounds it.
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "dispatch_client.h"
#include "server_process.h"

namespace tav::sehost::test {
namespace {

namespace ids = host::dispatch;

nlohmann::json readResult(const std::wstring& file) {
    std::ifstream in{std::filesystem::path(file)};
    return nlohmann::json::parse(in);
}

class ServerSession : public ::testing::Test {
  protected:
    TestApartment apartment;
};

TEST_F(ServerSession, TheResultHoldsTheHostsSideWithCallNumbersAndNameLookups) {
    const std::wstring result = resultFile("short-session");
    platform::ChildProcess server =
        startServer({sceneFile("one-view.scene.json"), L"--result", result});
    ASSERT_TRUE(waitReady(server));
    {
        ComPtr<IDispatch> application;
        ASSERT_EQ(runningApplication(application), S_OK);
        Variant no;
        no.value.vt = VT_BOOL;
        no.value.boolVal = VARIANT_FALSE;
        ASSERT_EQ(invoke(application.Get(), ids::application::interactive, DISPATCH_PROPERTYPUT,
                         {&no.value}, nullptr),
                  S_OK);  // call 1
        ComPtr<IDispatch> document;
        ComPtr<IDispatch> view;
        ASSERT_EQ(firstDrawingView(application.Get(), document, view), S_OK);  // calls 2 to 5
        VARIANT viewArgument{};
        viewArgument.vt = VT_DISPATCH;
        viewArgument.pdispVal = view.Get();
        DISPID selectSetId = 0;
        ASSERT_EQ(nameId(document.Get(), L"SelectSet", selectSetId), S_OK);
        ComPtr<IDispatch> selectSet;
        ASSERT_EQ(getObject(document.Get(), selectSetId, selectSet), S_OK);  // call 6
        // The view handed out in call 5 comes back as the argument of the add.
        ASSERT_EQ(
            invoke(selectSet.Get(), ids::selectSet::add, DISPATCH_METHOD, {&viewArgument}, nullptr),
            S_OK);  // call 7
    }
    server.closeInput();
    ASSERT_EQ(waitExit(server), 0);

    const nlohmann::json json = readResult(result);
    EXPECT_FALSE(json.contains("end"));
    EXPECT_FALSE(json.contains("window"));
    EXPECT_EQ(json["hostCalls"], 7);
    EXPECT_EQ(json["heldReferences"], 0);
    EXPECT_EQ(json["nameLookups"], 1);
    EXPECT_EQ(json["host"]["properties"]["18"], false);
    EXPECT_EQ(json["selection"], nlohmann::json::array({"V1"}));
    EXPECT_EQ(json["events"], nlohmann::json::parse(R"([
        {"host": "put", "object": "host", "member": 18, "value": false, "ok": true, "call": 1},
        {"host": "call", "object": "selectSet", "member": 4, "args": ["V1"], "ok": true, "call": 7}
    ])"));
}

// Four arrays of three doubles from index 1, then two doubles, each by
// reference: the host fills the first array with the part's colour.
TEST_F(ServerSession, DisplayColorsFillTheirByReferenceArraysAcrossProcesses) {
    platform::ChildProcess server = startServer({sceneFile("one-view.scene.json")});
    ASSERT_TRUE(waitReady(server));
    ComPtr<IDispatch> application;
    ASSERT_EQ(runningApplication(application), S_OK);
    ComPtr<IDispatch> document;
    ComPtr<IDispatch> view;
    ASSERT_EQ(firstDrawingView(application.Get(), document, view), S_OK);
    ComPtr<IDispatch> reference;
    ComPtr<IDispatch> assembly;
    ComPtr<IDispatch> occurrences;
    ASSERT_EQ(getObject(view.Get(), ids::drawingView::modelReference, reference), S_OK);
    ASSERT_EQ(getObject(reference.Get(), ids::modelReference::modelDocument, assembly), S_OK);
    ASSERT_EQ(getObject(assembly.Get(), ids::assemblyDocument::occurrences, occurrences), S_OK);
    ComPtr<IDispatch> occurrence;
    ASSERT_EQ(itemObject(occurrences.Get(), 1, occurrence), S_OK);
    ComPtr<IDispatch> subOccurrences;
    ASSERT_EQ(getObject(occurrence.Get(), ids::occurrence::subOccurrences, subOccurrences), S_OK);
    ComPtr<IDispatch> part;
    ASSERT_EQ(itemObject(subOccurrences.Get(), 1, part), S_OK);

    SAFEARRAY* arrays[4] = {};
    Variant arrayArgs[4];
    for (int i = 0; i < 4; ++i) {
        arrays[i] = SafeArrayCreateVector(VT_R8, 1, 3);
        arrayArgs[i].value.vt = VT_ARRAY | VT_R8 | VT_BYREF;
        arrayArgs[i].value.pparray = &arrays[i];
    }
    double numbers[2] = {7, 8};
    Variant numberArgs[2];
    for (int i = 0; i < 2; ++i) {
        numberArgs[i].value.vt = VT_R8 | VT_BYREF;
        numberArgs[i].value.pdblVal = &numbers[i];
    }
    EXPECT_EQ(invoke(part.Get(), ids::subOccurrence::displayColors, DISPATCH_METHOD,
                     {&arrayArgs[0].value, &arrayArgs[1].value, &arrayArgs[2].value,
                      &arrayArgs[3].value, &numberArgs[0].value, &numberArgs[1].value},
                     nullptr),
              S_OK);
    LONG lower = 0;
    SafeArrayGetLBound(arrays[0], 1, &lower);
    EXPECT_EQ(lower, 1);
    double color[3] = {};
    for (LONG i = 0; i < 3; ++i) {
        LONG index = i + 1;
        SafeArrayGetElement(arrays[0], &index, &color[i]);
    }
    EXPECT_EQ(color[0], 0.25);
    EXPECT_EQ(color[1], 0.5);
    EXPECT_EQ(color[2], 1.0);
    EXPECT_EQ(numbers[0], 7);
    for (SAFEARRAY* array : arrays) {
        SafeArrayDestroy(array);
    }
}

TEST_F(ServerSession, ReferencesAClientStillHoldsAtTheEndAreCounted) {
    const std::wstring result = resultFile("held");
    platform::ChildProcess server =
        startServer({sceneFile("one-view.scene.json"), L"--result", result});
    ASSERT_TRUE(waitReady(server));
    ComPtr<IDispatch> application;
    ASSERT_EQ(runningApplication(application), S_OK);
    ComPtr<IDispatch> document;
    ASSERT_EQ(getObject(application.Get(), ids::application::activeDocument, document), S_OK);
    ComPtr<IDispatch> document2;
    ASSERT_EQ(getObject(application.Get(), ids::application::activeDocument, document2), S_OK);
    document2.Reset();
    server.closeInput();
    ASSERT_EQ(waitExit(server), 0);
    EXPECT_EQ(readResult(result)["heldReferences"], 2);
}

TEST_F(ServerSession, ABusyHostRejectsTheCallBeforeServingIt) {
    const std::wstring result = resultFile("busy");
    platform::ChildProcess server =
        startServer({sceneFile("busy.scene.json"), L"--result", result});
    ASSERT_TRUE(waitReady(server));
    {
        ComPtr<IDispatch> application;
        ASSERT_EQ(runningApplication(application), S_OK);
        Variant value;
        EXPECT_EQ(get(application.Get(), ids::application::interactive, value), S_OK);
        // Call 2 is rejected twice, as a host showing a dialog rejects calls.
        EXPECT_EQ(get(application.Get(), ids::application::delayCompute, value),
                  RPC_E_CALL_REJECTED);
        EXPECT_EQ(get(application.Get(), ids::application::delayCompute, value),
                  RPC_E_CALL_REJECTED);
        EXPECT_EQ(get(application.Get(), ids::application::delayCompute, value), S_OK);
        EXPECT_EQ(value.value.vt, VT_BOOL);
    }
    server.closeInput();
    ASSERT_EQ(waitExit(server), 0);
    EXPECT_EQ(readResult(result)["hostCalls"], 2);
    EXPECT_EQ(readResult(result)["heldReferences"], 0);
}

TEST_F(ServerSession, WithAProgramTheServerEndsWithItsStatus) {
    platform::ChildProcess server =
        startServer({sceneFile("one-view.scene.json"), L"--", L"cmd.exe", L"/c", L"exit 7"});
    ASSERT_TRUE(waitReady(server));
    EXPECT_EQ(waitExit(server), 7);
}

TEST_F(ServerSession, WhenTheTimeoutPassesTheProgramIsEndedAndTheStatusIsThree) {
    const std::wstring result = resultFile("timeout");
    // The program is a second server for a host that is not running: it
    // serves until its input (the first server's) ends, which never happens.
    platform::ChildProcess server =
        startServer({sceneFile("one-view.scene.json"), L"--result", result, L"--timeout", L"2",
                     L"--", std::wstring(TAV_SEHOST_SIM_W), sceneFile("not-running.scene.json")});
    ASSERT_TRUE(waitReady(server));
    EXPECT_EQ(waitExit(server), 3);
    EXPECT_EQ(readResult(result)["hostCalls"], 0);
}

}  // namespace
}  // namespace tav::sehost::test

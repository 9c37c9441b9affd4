// Documents on disk, sheets and alerts served over COM: members called by
// name through GetIDsOfNames, each one host call, and the server's result
// telling of every document.
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "dispatch_client.h"
#include "server_process.h"

namespace tav::sehost::test {
namespace {

nlohmann::json readResult(const std::wstring& file) {
    std::ifstream in{std::filesystem::path(file)};
    return nlohmann::json::parse(in);
}

// A member called by name, as a late-bound client calls it.
HRESULT invokeNamed(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT*> args,
                    Variant* result) {
    DISPID id = 0;
    const HRESULT found = nameId(object, name, id);
    if (FAILED(found)) {
        return found;
    }
    return invoke(object, id, flags, std::move(args), result);
}

HRESULT namedObject(IDispatch* object, const wchar_t* name, ComPtr<IDispatch>& result) {
    Variant value;
    const HRESULT hr = invokeNamed(object, name, DISPATCH_PROPERTYGET, {}, &value);
    if (SUCCEEDED(hr) && value.value.vt == VT_DISPATCH && value.value.pdispVal != nullptr) {
        result = value.value.pdispVal;
    }
    return hr;
}

std::wstring textOf(const Variant& value) {
    return value.value.vt == VT_BSTR ? std::wstring(value.value.bstrVal) : L"(not text)";
}

class DocumentsOverCom : public ::testing::Test {
  protected:
    TestApartment apartment;
};

TEST_F(DocumentsOverCom, OpenSaveCloseAndSheetsByName) {
    const std::wstring result = resultFile("documents-session");
    platform::ChildProcess server =
        startServer({sceneFile("documents.scene.json"), L"--result", result});
    ASSERT_TRUE(waitReady(server));
    {
        ComPtr<IDispatch> application;
        ASSERT_EQ(runningApplication(application), S_OK);
        Variant no;
        no.value.vt = VT_BOOL;
        no.value.boolVal = VARIANT_FALSE;
        ASSERT_EQ(invokeNamed(application.Get(), L"DisplayAlerts", DISPATCH_PROPERTYPUT,
                              {&no.value}, nullptr),
                  S_OK);  // call 1
        ComPtr<IDispatch> documents;
        ASSERT_EQ(namedObject(application.Get(), L"Documents", documents), S_OK);  // call 2
        Variant path;
        path.value.vt = VT_BSTR;
        path.value.bstrVal = SysAllocString(L"c:\\work\\PUMP.dft");
        Variant opened;
        ASSERT_EQ(invokeNamed(documents.Get(), L"Open", DISPATCH_METHOD, {&path.value}, &opened),
                  S_OK);  // call 3
        ASSERT_EQ(opened.value.vt, VT_DISPATCH);
        Variant fullName;
        ASSERT_EQ(
            invokeNamed(opened.value.pdispVal, L"FullName", DISPATCH_PROPERTYGET, {}, &fullName),
            S_OK);  // call 4
        EXPECT_EQ(textOf(fullName), L"C:\\Work\\Pump.dft");
        ASSERT_EQ(invokeNamed(opened.value.pdispVal, L"Save", DISPATCH_METHOD, {}, nullptr),
                  S_OK);  // call 5
        Variant saveChanges;
        saveChanges.value.vt = VT_BOOL;
        saveChanges.value.boolVal = VARIANT_FALSE;
        ASSERT_EQ(invokeNamed(opened.value.pdispVal, L"Close", DISPATCH_METHOD,
                              {&saveChanges.value}, nullptr),
                  S_OK);  // call 6
        Variant dead;
        EXPECT_NE(invokeNamed(opened.value.pdispVal, L"FullName", DISPATCH_PROPERTYGET, {}, &dead),
                  S_OK);  // call 7: its document is closed

        // The draft's second sheet by name, and the name of the first sheet's view.
        ComPtr<IDispatch> draft;
        ASSERT_EQ(getObject(application.Get(), host::dispatch::application::activeDocument, draft),
                  S_OK);  // call 8
        ComPtr<IDispatch> sheets;
        ASSERT_EQ(namedObject(draft.Get(), L"Sheets", sheets), S_OK);  // call 9
        Variant two;
        two.value.vt = VT_I4;
        two.value.lVal = 2;
        Variant second;
        ASSERT_EQ(invokeNamed(sheets.Get(), L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              {&two.value}, &second),
                  S_OK);  // call 10
        Variant sheetName;
        ASSERT_EQ(invokeNamed(second.value.pdispVal, L"Name", DISPATCH_PROPERTYGET, {}, &sheetName),
                  S_OK);  // call 11
        EXPECT_EQ(textOf(sheetName), L"Sheet2");
        ComPtr<IDispatch> document;
        ComPtr<IDispatch> view;
        ASSERT_EQ(firstDrawingView(application.Get(), document, view), S_OK);  // calls 12 to 15
        Variant viewName;
        ASSERT_EQ(invokeNamed(view.Get(), L"Name", DISPATCH_PROPERTYGET, {}, &viewName),
                  S_OK);  // call 16
        EXPECT_EQ(textOf(viewName), L"Front");
    }
    server.closeInput();
    ASSERT_EQ(waitExit(server), 0);

    const nlohmann::json json = readResult(result);
    EXPECT_EQ(json["hostCalls"], 16);
    EXPECT_EQ(json["heldReferences"], 0);
    EXPECT_EQ(json["host"]["displayAlerts"], false);
    EXPECT_EQ(json["documents"], nlohmann::json::parse(R"([
      {"id": "D1", "path": "C:\\Work\\Gearbox.dft", "open": true, "active": true, "saves": 0,
       "unsaved": false, "activeSheet": 1, "selection": [],
       "lineStyles": [{"name": "Normal", "color": 0, "template": null}]},
      {"id": "D2", "path": "C:\\Work\\Pump.dft", "open": false, "active": false, "saves": 1,
       "activeSheet": 1, "selection": [],
       "lineStyles": [{"name": "Normal", "color": 0, "template": null}]}
    ])"));
    EXPECT_EQ(json["events"], nlohmann::json::parse(R"([
      {"host": "put", "object": "host", "member": "DisplayAlerts", "value": false, "ok": true,
       "call": 1},
      {"host": "call", "object": "documents", "member": "Open", "args": ["c:\\work\\PUMP.dft"],
       "ok": true, "call": 3},
      {"host": "call", "object": "document:D2", "member": "Save", "args": [], "ok": true,
       "call": 5},
      {"host": "call", "object": "document:D2", "member": "Close", "args": [false], "ok": true,
       "call": 6}
    ])"));
}

TEST_F(DocumentsOverCom, ACommandLineRunTellsOfEveryDocumentOfAnOldScene) {
    for (const bool hidden : {true, false}) {
        const std::wstring result = resultFile(hidden ? "cli-option" : "cli-program");
        std::vector<std::wstring> arguments{sceneFile("one-view.scene.json"), L"--result", result};
        if (hidden) {
            arguments.push_back(L"--command-line-run");
            platform::ChildProcess server = startServer(arguments);
            ASSERT_TRUE(waitReady(server));
            server.closeInput();
            ASSERT_EQ(waitExit(server), 0);
        } else {
            // The served program's file name, in any letter case: a program
            // that does not exist ends at once, and the run still counts.
            arguments.insert(arguments.end(), {L"--", L"Z:\\nowhere\\TavRelMondix-CLI.exe"});
            platform::ChildProcess server = startServer(arguments);
            ASSERT_TRUE(waitReady(server));
            waitExit(server);
        }
        const nlohmann::json json = readResult(result);
        ASSERT_TRUE(json.contains("documents")) << hidden;
        EXPECT_EQ(json["documents"].size(), 2u);
        EXPECT_EQ(json["host"]["displayAlerts"], true);
        EXPECT_FALSE(json.contains("cli"));
    }
    const std::wstring plain = resultFile("not-cli");
    platform::ChildProcess server =
        startServer({sceneFile("one-view.scene.json"), L"--result", plain});
    ASSERT_TRUE(waitReady(server));
    server.closeInput();
    ASSERT_EQ(waitExit(server), 0);
    EXPECT_FALSE(readResult(plain).contains("documents"));
}

}  // namespace
}  // namespace tav::sehost::test

// How the tool reads a failed host call: every form in which an automation
// server reports an error gives the number and description an automation
// client shows for it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/com/bstr.h"
#include "host/com/error_numbers.h"
#include "host/error.h"
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using Microsoft::WRL::ComPtr;

using HostErrors = ComClientTest;

// Sets the thread's error object, as a server reporting errors directly does.
void setErrorObject(const wchar_t* description) {
    ComPtr<ICreateErrorInfo> created;
    ASSERT_EQ(CreateErrorInfo(created.GetAddressOf()), S_OK);
    created->SetDescription(const_cast<LPOLESTR>(description));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(created.As(&info), S_OK);
    SetErrorInfo(0, info.Get());
}

struct ErrorForm {
    const char* name;
    bool reportsErrorObjects;
    std::function<HRESULT(EXCEPINFO*)> fail;
    std::int32_t number;
    std::u16string description;  // empty: any text
};

TEST_F(HostErrors, EveryFormGivesTheNumberAndDescriptionAClientShows) {
    const ErrorForm forms[] = {
        {"scode", false,
         [](EXCEPINFO* e) {
             e->scode = E_FAIL;
             e->bstrDescription = SysAllocString(L"Simulated failure: type");
             return DISP_E_EXCEPTION;
         },
         host::hostFailureNumber, u"Simulated failure: type"},
        {"scode of the control facility", false,
         [](EXCEPINFO* e) {
             e->scode = static_cast<SCODE>(0x800A000D);
             e->bstrDescription = SysAllocString(L"Type mismatch");
             return DISP_E_EXCEPTION;
         },
         13, u"Type mismatch"},
        {"wCode", false,
         [](EXCEPINFO* e) {
             e->wCode = 1001;
             e->bstrDescription = SysAllocString(L"Part not found");
             return DISP_E_EXCEPTION;
         },
         static_cast<std::int32_t>(0x80040200u + 1001), u"Part not found"},
        {"deferred fill-in", false,
         [](EXCEPINFO* e) {
             e->pfnDeferredFillIn = [](EXCEPINFO* filled) -> HRESULT {
                 filled->scode = static_cast<SCODE>(0x800A01B6);
                 filled->bstrDescription = SysAllocString(L"Object doesn't support it");
                 return S_OK;
             };
             return DISP_E_EXCEPTION;
         },
         438, u"Object doesn't support it"},
        {"direct, with the error object", true,
         [](EXCEPINFO*) {
             setErrorObject(L"No line style named \"255_visible\"");
             return E_FAIL;
         },
         host::hostFailureNumber, u"No line style named \"255_visible\""},
        {"direct, of the control facility", true,
         [](EXCEPINFO*) {
             setErrorObject(L"Overflow");
             return static_cast<HRESULT>(0x800A0006);
         },
         6, u"Overflow"},
        {"direct, from an object without error objects", false,
         [](EXCEPINFO*) {
             setErrorObject(L"left over from another call");
             return E_FAIL;
         },
         host::hostFailureNumber, u""},
        {"a member the object lacks", false, [](EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; }, 438,
         u"Object doesn't support this property or method"},
        {"a dispatch type mismatch", false, [](EXCEPINFO*) { return DISP_E_TYPEMISMATCH; }, 13,
         u"Type mismatch"},
        {"a host that is gone", true,
         [](EXCEPINFO*) {
             setErrorObject(L"left over from another call");
             return static_cast<HRESULT>(0x800706BA);  // RPC_S_SERVER_UNAVAILABLE
         },
         -2147023174, u""},
    };
    for (const ErrorForm& form : forms) {
        SCOPED_TRACE(form.name);
        FakeDispatch fake;
        fake.reportsErrorObjects = form.reportsErrorObjects;
        fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO* exception) {
            return form.fail(exception);
        });
        try {
            hostObject(fake).get(25);
            ADD_FAILURE() << "the error was lost";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), form.number);
            if (form.description.empty()) {
                EXPECT_FALSE(error.description().empty());
                EXPECT_NE(error.description(), u"left over from another call");
            } else {
                EXPECT_EQ(error.description(), form.description);
            }
        }
        SetErrorInfo(0, nullptr);
    }
}

}  // namespace
}  // namespace tav::com::test

// Errors as COM carries them: a run-time error number comes back from its
// trip through COM as itself, and every form in which an automation server
// reports an error gives the number and description an automation client
// shows for it.
#include "host/com/automation_errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "host/error.h"
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using Microsoft::WRL::ComPtr;
namespace number = host::runtime_error_number;

TEST(ErrorNumbers, ARunTimeNumberTravelsInTheControlFacilityAndComesBackAsItself) {
    for (std::int32_t runtime : {number::overflow, number::typeMismatch, number::objectNotSet,
                                 number::objectRequired, number::memberNotSupported, 65535}) {
        const HRESULT travelling = hresultOf(runtime);
        EXPECT_TRUE(FAILED(travelling)) << runtime;
        EXPECT_EQ(HRESULT_FACILITY(travelling), FACILITY_CONTROL) << runtime;
        EXPECT_EQ(numberOf(travelling), runtime);
    }
    for (HRESULT hr : {E_FAIL, MK_E_UNAVAILABLE, RPC_E_CALL_REJECTED}) {
        EXPECT_EQ(hresultOf(static_cast<std::int32_t>(hr)), hr);
        EXPECT_EQ(numberOf(hr), static_cast<std::int32_t>(hr));
    }
}

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

// A dispatch failure, as an object answers Invoke with it.
std::function<HRESULT(EXCEPINFO*)> failingWith(HRESULT hr) {
    return [hr](EXCEPINFO*) { return hr; };
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
             e->scode = hresultOf(number::typeMismatch);
             e->bstrDescription = SysAllocString(L"Type mismatch");
             return DISP_E_EXCEPTION;
         },
         number::typeMismatch, u"Type mismatch"},
        {"wCode", false,
         [](EXCEPINFO* e) {
             e->wCode = 1001;
             e->bstrDescription = SysAllocString(L"Part not found");
             return DISP_E_EXCEPTION;
         },
         static_cast<std::int32_t>(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200 + 1001)),
         u"Part not found"},
        {"deferred fill-in", false,
         [](EXCEPINFO* e) {
             e->pfnDeferredFillIn = [](EXCEPINFO* filled) -> HRESULT {
                 filled->scode = hresultOf(number::memberNotSupported);
                 filled->bstrDescription = SysAllocString(L"Object doesn't support it");
                 return S_OK;
             };
             return DISP_E_EXCEPTION;
         },
         number::memberNotSupported, u"Object doesn't support it"},
        {"direct, with the error object", true,
         [](EXCEPINFO*) {
             setErrorObject(L"No line style named \"255_visible\"");
             return E_FAIL;
         },
         host::hostFailureNumber, u"No line style named \"255_visible\""},
        {"direct, of the control facility", true,
         [](EXCEPINFO*) {
             setErrorObject(L"Overflow");
             return hresultOf(number::overflow);
         },
         number::overflow, u"Overflow"},
        {"direct, from an object without error objects", false,
         [](EXCEPINFO*) {
             setErrorObject(L"left over from another call");
             return E_FAIL;
         },
         host::hostFailureNumber, u""},
        {"a member the object lacks", false, failingWith(DISP_E_MEMBERNOTFOUND),
         number::memberNotSupported, u"Object doesn't support this property or method"},
        {"a name the object lacks", false, failingWith(DISP_E_UNKNOWNNAME),
         number::memberNotSupported, u"Object doesn't support this property or method"},
        {"a dispatch type mismatch", false, failingWith(DISP_E_TYPEMISMATCH), number::typeMismatch,
         u"Type mismatch"},
        {"a dispatch overflow", false, failingWith(DISP_E_OVERFLOW), number::overflow, u"Overflow"},
        {"an index out of range", false, failingWith(DISP_E_BADINDEX), number::subscriptOutOfRange,
         u"Subscript out of range"},
        {"a missing argument", false, failingWith(DISP_E_PARAMNOTOPTIONAL),
         number::argumentNotOptional, u"Argument not optional"},
        {"too many arguments", false, failingWith(DISP_E_BADPARAMCOUNT),
         number::wrongNumberOfArguments,
         u"Wrong number of arguments or invalid property assignment"},
        {"a host that is gone", true,
         [](EXCEPINFO*) {
             setErrorObject(L"left over from another call");
             return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
         },
         static_cast<std::int32_t>(HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)), u""},
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

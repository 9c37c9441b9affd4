// What a host sees of the tool's calls over COM, and what the tool makes of
// the host's answers: against a hand-written IDispatch in this process.
#include <gtest/gtest.h>

#include <chrono>

#include "host/com/apartment.h"
#include "host/com/bstr.h"
#include "host/com/dispatch_object.h"
#include "host/com/safe_array.h"
#include "host/conversions.h"
#include "host/error.h"
#include "tests/com/fake_dispatch.h"

namespace tav::com::test {
namespace {

using host::Argument;
using host::ObjectRef;
using host::Value;
using Microsoft::WRL::ComPtr;

class DispatchCallTest : public ::testing::Test {
  protected:
    ObjectRef hostObject(FakeDispatch& fake, BusyRetryPolicy busy = {}) {
        return DispatchObject::wrap(std::make_shared<Connection>(busy), ComPtr<IDispatch>(&fake));
    }

    Apartment apartment_;
};

TEST_F(DispatchCallTest, AGetOrItemIsPropertyGetOrMethodWithTheIndexAs16Bits) {
    FakeDispatch fake;
    ObjectRef object = hostObject(fake);
    object.item(std::int16_t{3});
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].member, DISPID_VALUE);
    EXPECT_EQ(fake.calls[0].flags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
    EXPECT_EQ(fake.calls[0].argTypes, std::vector<VARTYPE>{VT_I2});
}

TEST_F(DispatchCallTest, APutNamesPropertyPutAndPassesABoolean) {
    FakeDispatch fake;
    bool seen = true;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        seen = args[0]->boolVal == VARIANT_TRUE;
        return S_OK;
    });
    hostObject(fake).put(18, Value(false));
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(fake.calls[0].namedArgs, std::vector<DISPID>{DISPID_PROPERTYPUT});
    EXPECT_EQ(fake.calls[0].argTypes, std::vector<VARTYPE>{VT_BOOL});
    EXPECT_FALSE(seen);
}

TEST_F(DispatchCallTest, AMethodGetsItsArgumentsInOrderWithTheirTypes) {
    FakeDispatch fake;
    std::u16string first;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        first = Bstr::textOf(args[0]->bstrVal);
        return S_OK;
    });
    std::array<Argument, 2> args{host::byValue(u"33023_visible"), host::byValue(std::int32_t{7})};
    hostObject(fake).call(100, args);
    EXPECT_EQ(fake.calls[0].flags, DISPATCH_METHOD);
    EXPECT_EQ(fake.calls[0].argTypes, (std::vector<VARTYPE>{VT_BSTR, VT_I4}));
    EXPECT_EQ(first, u"33023_visible");
}

TEST_F(DispatchCallTest, ByReferenceArgumentsComeBackChanged) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        // The colour query: fill the first array, change the last double.
        SafeArrayLock lock(*args[0]->pparray);
        auto* items = static_cast<double*>(lock.data());
        items[0] = 0.25;
        items[1] = 0.5;
        items[2] = 1.0;
        *args[5]->pdblVal = 9.0;
        return S_OK;
    });
    auto triple = [] { return host::byReference(host::DoubleArray{{0.0, 0.0, 0.0}}); };
    std::array<Argument, 6> args{
        triple(), triple(), triple(), triple(), host::byReference(0.0), host::byReference(0.0)};
    hostObject(fake).call(15, args);
    EXPECT_EQ(fake.calls[0].argTypes[0], VT_BYREF | VT_ARRAY | VT_R8);
    EXPECT_EQ(fake.calls[0].argTypes[5], VT_BYREF | VT_R8);
    const auto* filled = args[0].value.getIf<host::DoubleArray>();
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->lowerBound, 1);
    EXPECT_EQ(filled->items, (std::vector<double>{0.25, 0.5, 1.0}));
    EXPECT_EQ(host::toDouble(args[5].value), 9.0);
}

TEST_F(DispatchCallTest, ATemplateNamePassedByReferenceComesBackAsTheHostLeftIt) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        SysFreeString(*args[1]->pbstrVal);
        *args[1]->pbstrVal = Bstr(u"Hidden").release();
        return S_OK;
    });
    std::array<Argument, 2> args{host::byValue(u"0_hidden"), host::byReference(u"Normal")};
    hostObject(fake).call(100, args);
    EXPECT_EQ(fake.calls[0].argTypes[1], VT_BYREF | VT_BSTR);
    EXPECT_EQ(host::toText(args[1].value), u"Hidden");
}

TEST_F(DispatchCallTest, TheColorPutPassesItsLongByReference) {
    FakeDispatch fake;
    hostObject(fake).put(103, host::byReference(std::int32_t{33023}));
    EXPECT_EQ(fake.calls[0].argTypes, std::vector<VARTYPE>{VT_BYREF | VT_I4});
}

TEST_F(DispatchCallTest, ANullObjectIsAnEmptyReference) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_DISPATCH;
        result->pdispVal = nullptr;
        return S_OK;
    });
    Value style = hostObject(fake).get(36);
    ASSERT_TRUE(style.holds<ObjectRef>());
    EXPECT_TRUE(style.getIf<ObjectRef>()->empty());
}

TEST_F(DispatchCallTest, AnUnknownIsTakenAsItsDispatchInterface) {
    FakeDispatch fake;
    FakeDispatch child;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_UNKNOWN;
        result->punkVal = &child;
        child.AddRef();
        return S_OK;
    });
    {
        Value got = hostObject(fake).get(2);
        ASSERT_TRUE(got.holds<ObjectRef>());
        EXPECT_FALSE(got.getIf<ObjectRef>()->empty());
        EXPECT_EQ(child.references, 1u);
    }
    EXPECT_EQ(child.references, 0u);
}

TEST_F(DispatchCallTest, NumbersComeBackAsTheEngineExpectsThem) {
    FakeDispatch fake;
    VARIANT answer{};
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        *result = answer;
        return S_OK;
    });
    ObjectRef object = hostObject(fake);
    answer.vt = VT_UI1;
    answer.bVal = 200;
    EXPECT_TRUE(object.get(1).holds<std::int16_t>());
    answer.vt = VT_UI4;
    answer.ulVal = 4000000000u;
    EXPECT_EQ(*object.get(1).getIf<double>(), 4000000000.0);
    answer.vt = VT_CY;
    answer.cyVal.int64 = 15000;
    EXPECT_EQ(*object.get(1).getIf<double>(), 1.5);
}

TEST_F(DispatchCallTest, ATypeTheEngineCannotUseIsATypeMismatch) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_NULL;
        return S_OK;
    });
    try {
        hostObject(fake).get(4);
        FAIL() << "VT_NULL was accepted";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::typeMismatch);
    }
}

TEST_F(DispatchCallTest, AHostExceptionGivesItsCodeAndDescriptionAfterTheDeferredFillIn) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO* exception) {
        exception->pfnDeferredFillIn = [](EXCEPINFO* filled) -> HRESULT {
            filled->scode = E_FAIL;
            filled->bstrDescription = SysAllocString(L"Simulated failure: type");
            return S_OK;
        };
        return DISP_E_EXCEPTION;
    });
    try {
        hostObject(fake).get(25);
        FAIL() << "the exception was lost";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::hostFailureNumber);
        EXPECT_EQ(error.description(), u"Simulated failure: type");
    }
}

TEST_F(DispatchCallTest, AFailedHresultIsItsSignedNumberWithTheSystemText) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return static_cast<HRESULT>(0x800706BA);  // RPC_S_SERVER_UNAVAILABLE
    });
    try {
        hostObject(fake).get(2);
        FAIL() << "the failure was lost";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), -2147023174);
        EXPECT_FALSE(error.description().empty());
    }
}

TEST_F(DispatchCallTest, ABusyHostIsAskedAgainAndServesTheCallOnce) {
    FakeDispatch fake;
    int rejections = 3;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        if (rejections > 0) {
            --rejections;
            return RPC_E_CALL_REJECTED;
        }
        result->vt = VT_I4;
        result->lVal = 2;
        return S_OK;
    });
    BusyRetryPolicy quick{std::chrono::milliseconds(1), std::chrono::milliseconds(5000)};
    EXPECT_EQ(host::toInt32(hostObject(fake, quick).get(2)), 2);
    EXPECT_EQ(fake.calls.size(), 4u);
}

// A window of the test's thread that counts the messages it is sent.
struct CountingWindow {
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            ++handled;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    CountingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TavCountingWindow";
        RegisterClassW(&windowClass);
        handle = CreateWindowW(L"TavCountingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    }
    ~CountingWindow() { DestroyWindow(handle); }
    HWND handle = nullptr;
    static inline int handled = 0;
};

TEST_F(DispatchCallTest, TheWindowsKeepTakingMessagesWhileABusyHostIsWaitedFor) {
    CountingWindow window;
    ASSERT_NE(window.handle, nullptr);
    FakeDispatch fake;
    int rejections = 2;
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return rejections-- > 0 ? RPC_E_CALL_REJECTED : S_OK;
    });
    PostMessageW(window.handle, WM_APP, 0, 0);
    const int before = CountingWindow::handled;
    BusyRetryPolicy quick{std::chrono::milliseconds(20), std::chrono::milliseconds(5000)};
    hostObject(fake, quick).get(2);
    EXPECT_EQ(CountingWindow::handled, before + 1);
}

TEST_F(DispatchCallTest, AHostBusyPastTheBoundFailsAsAHostError) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>&, VARIANT*, EXCEPINFO*) {
        return RPC_E_SERVERCALL_RETRYLATER;
    });
    BusyRetryPolicy quick{std::chrono::milliseconds(5), std::chrono::milliseconds(60)};
    const auto start = std::chrono::steady_clock::now();
    try {
        hostObject(fake, quick).get(2);
        FAIL() << "a host busy for ever was waited for";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), static_cast<std::int32_t>(RPC_E_SERVERCALL_RETRYLATER));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_GT(fake.calls.size(), 1u);
}

}  // namespace
}  // namespace tav::com::test

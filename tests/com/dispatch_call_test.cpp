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
#include "tests/com/client_test.h"

namespace tav::com::test {
namespace {

using host::Argument;
using host::ObjectRef;
using host::Value;
using Microsoft::WRL::ComPtr;

using DispatchCallTest = ComClientTest;

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
        first = textOf(args[0]->bstrVal);
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
        *args[1]->pbstrVal = bstrOf(u"Hidden").release();
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
        result->punkVal = static_cast<IDispatch*>(&child);
        child.AddRef();
        return S_OK;
    });
    {
        Value got = hostObject(fake).get(2);
        ASSERT_TRUE(got.holds<ObjectRef>());
        EXPECT_FALSE(got.getIf<ObjectRef>()->empty());
        EXPECT_EQ(child.references(), 1u);
    }
    EXPECT_EQ(child.references(), 0u);
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

// A strict host gives the same integer as a 16-bit or 32-bit integer, a
// double holding a whole number, or a variant holding one of those by
// reference; the tool takes each as an automation client does.
TEST_F(DispatchCallTest, AnIntegerInAnyTypeAStrictHostUsesReadsTheSame) {
    FakeDispatch fake;
    VARIANT answer{};
    VARIANT held{};
    fake.setHandler([&](DISPID, std::vector<VARIANT*>&, VARIANT* result, EXCEPINFO*) {
        *result = answer;
        return S_OK;
    });
    ObjectRef collection = hostObject(fake);
    auto countAs = [&](VARTYPE type) {
        answer = VARIANT{};
        answer.vt = type;
        switch (type) {
            case VT_I2:
                answer.iVal = 1234;
                break;
            case VT_I4:
                answer.lVal = 1234;
                break;
            case VT_R8:
                answer.dblVal = 1234.0;
                break;
            default:
                held.vt = VT_R8;
                held.dblVal = 1234.0;
                answer.vt = VT_BYREF | VT_VARIANT;
                answer.pvarVal = &held;
                break;
        }
        const Value count = collection.get(2);
        return std::pair{host::toInt16(count), host::toDouble(count)};
    };
    for (VARTYPE type :
         {VARTYPE(VT_I2), VARTYPE(VT_I4), VARTYPE(VT_R8), VARTYPE(VT_BYREF | VT_VARIANT)}) {
        EXPECT_EQ(countAs(type), (std::pair<std::int16_t, double>{1234, 1234.0})) << type;
    }
    // As VariantChangeType rounds: a half to the even neighbour.
    answer.vt = VT_R8;
    answer.dblVal = 2.5;
    EXPECT_EQ(host::toInt16(collection.get(2)), 2);
    // Text is never taken as a number.
    answer.vt = VT_BSTR;
    answer.bstrVal = SysAllocString(L"3");
    try {
        host::toInt16(collection.get(2));
        FAIL() << "text was taken as a count";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::runtime_error_number::typeMismatch);
    }
}

// A host may hand the colour query's first array back as an array of
// variants that hold the doubles.
TEST_F(DispatchCallTest, AColorArrayOfVariantsIsReadElementByElement) {
    FakeDispatch fake;
    fake.setHandler([](DISPID, std::vector<VARIANT*>& args, VARIANT*, EXCEPINFO*) {
        SAFEARRAYBOUND bound{3, 1};
        SAFEARRAY* variants = SafeArrayCreate(VT_VARIANT, 1, &bound);
        const double parts[3] = {0.25, 0.5, 1.0};
        for (LONG i = 0; i < 3; ++i) {
            VARIANT part{};
            part.vt = i == 1 ? VT_R4 : VT_R8;
            if (i == 1) {
                part.fltVal = 0.5f;
            } else {
                part.dblVal = parts[i];
            }
            LONG index = i + 1;
            SafeArrayPutElement(variants, &index, &part);
        }
        SafeArrayDestroy(*args[0]->pparray);
        *args[0]->pparray = variants;
        return S_OK;
    });
    std::array<Argument, 1> args{host::byReference(host::DoubleArray{{0.0, 0.0, 0.0}})};
    hostObject(fake).call(15, args);
    const auto* filled = args[0].value.getIf<host::DoubleArray>();
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->lowerBound, 1);
    EXPECT_EQ(filled->items, (std::vector<double>{0.25, 0.5, 1.0}));
}

}  // namespace
}  // namespace tav::com::test

// Every VARIANT type the tool takes, at the edges of its range, by value and
// by reference: a sign lost or a width mistaken here would give a wrong count
// or a wrong colour without any error.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/com/safe_array.h"
#include "host/com/variant_value.h"
#include "host/conversions.h"
#include "host/error.h"

namespace tav::com {
namespace {

const DispatchToObject noObjects = [](Microsoft::WRL::ComPtr<IDispatch>) {
    return host::ObjectRef{};
};

// The value of `v` read by value, and read through a VT_BYREF to it.
std::pair<host::Value, host::Value> readBothWays(VARIANT v) {
    VARIANT reference{};
    reference.vt = static_cast<VARTYPE>(VT_BYREF | v.vt);
    reference.byref = &v.iVal;  // every scalar member starts at the same place
    if (v.vt == VT_DECIMAL) {
        reference.pdecVal = &v.decVal;
    }
    return {fromVariant(v, noObjects), fromVariant(reference, noObjects)};
}

template <class T>
void expectBothWays(VARIANT v, T expected, const char* what) {
    const auto [direct, referenced] = readBothWays(v);
    for (const host::Value* read : {&direct, &referenced}) {
        const T* held = read->getIf<T>();
        ASSERT_NE(held, nullptr) << what;
        EXPECT_EQ(*held, expected) << what;
    }
}

TEST(VariantEdges, SignedIntegersKeepTheirSign) {
    VARIANT v{};
    v.vt = VT_I2;
    v.iVal = -1;
    expectBothWays<std::int16_t>(v, -1, "VT_I2 -1");
    v.iVal = std::numeric_limits<SHORT>::min();
    expectBothWays<std::int16_t>(v, -32768, "VT_I2 minimum");
    v.iVal = std::numeric_limits<SHORT>::max();
    expectBothWays<std::int16_t>(v, 32767, "VT_I2 maximum");
    v = VARIANT{};
    v.vt = VT_I1;
    v.cVal = static_cast<CHAR>(-128);
    expectBothWays<std::int16_t>(v, -128, "VT_I1 minimum");
    v = VARIANT{};
    v.vt = VT_I4;
    v.lVal = -1;
    expectBothWays<std::int32_t>(v, -1, "VT_I4 -1");
    v.lVal = std::numeric_limits<LONG>::min();
    expectBothWays<std::int32_t>(v, std::numeric_limits<std::int32_t>::min(), "VT_I4 minimum");
    v = VARIANT{};
    v.vt = VT_INT;
    v.intVal = -7;
    expectBothWays<std::int32_t>(v, -7, "VT_INT -7");
    v = VARIANT{};
    v.vt = VT_I8;
    v.llVal = -1;
    expectBothWays<std::int32_t>(v, -1, "VT_I8 -1");
    v.llVal = -9007199254740992LL;  // -2^53: still exact as a double
    expectBothWays<double>(v, -9007199254740992.0, "VT_I8 -2^53");
}

TEST(VariantEdges, UnsignedIntegersNeverTurnNegative) {
    VARIANT v{};
    v.vt = VT_UI1;
    v.bVal = 255;
    expectBothWays<std::int16_t>(v, 255, "VT_UI1 maximum");
    v = VARIANT{};
    v.vt = VT_UI2;
    v.uiVal = 65535;
    expectBothWays<std::int32_t>(v, 65535, "VT_UI2 maximum");
    v = VARIANT{};
    v.vt = VT_UI4;
    v.ulVal = 0x80000000u;
    expectBothWays<double>(v, 2147483648.0, "VT_UI4 2^31");
    v.ulVal = 0x7FFFFFFFu;
    expectBothWays<std::int32_t>(v, 2147483647, "VT_UI4 2^31-1");
    v = VARIANT{};
    v.vt = VT_UINT;
    v.uintVal = 0xFFFFFFFFu;
    expectBothWays<double>(v, 4294967295.0, "VT_UINT maximum");
    v = VARIANT{};
    v.vt = VT_UI8;
    v.ullVal = 9007199254740993ULL;  // 2^53 + 1: no longer exact
    EXPECT_THROW(fromVariant(v, noObjects), host::AutomationError);
}

TEST(VariantEdges, BooleansAreTrueForAnyNonZero) {
    VARIANT v{};
    v.vt = VT_BOOL;
    v.boolVal = VARIANT_TRUE;
    expectBothWays<bool>(v, true, "VARIANT_TRUE");
    v.boolVal = 1;  // a sloppy host's true
    expectBothWays<bool>(v, true, "1");
    v.boolVal = VARIANT_FALSE;
    expectBothWays<bool>(v, false, "VARIANT_FALSE");
}

TEST(VariantEdges, FloatingPointAndMoneyKeepTheirValue) {
    VARIANT v{};
    v.vt = VT_R4;
    v.fltVal = -0.5f;
    expectBothWays<float>(v, -0.5f, "VT_R4 -0.5");
    v = VARIANT{};
    v.vt = VT_R8;
    v.dblVal = -1e300;
    expectBothWays<double>(v, -1e300, "VT_R8 -1e300");
    v = VARIANT{};
    v.vt = VT_CY;
    v.cyVal.int64 = -15000;
    expectBothWays<double>(v, -1.5, "VT_CY -1.5");
    v = VARIANT{};
    v.vt = VT_DATE;
    v.date = -2.25;
    expectBothWays<double>(v, -2.25, "VT_DATE");
}

TEST(VariantEdges, ConversionsToATypeHoldItsRangeOrOverflow) {
    const ObjectToDispatch noDispatch = [](const host::ObjectRef&) {
        return Microsoft::WRL::ComPtr<IDispatch>();
    };
    EXPECT_EQ(toVariantOf(host::Value(-32768.0), VT_I2, noDispatch).get().iVal, -32768);
    EXPECT_THROW(toVariantOf(host::Value(32768.0), VT_I2, noDispatch), host::AutomationError);
    EXPECT_EQ(toVariantOf(host::Value(-2.5), VT_I4, noDispatch).get().lVal, -2);  // ties to even
    EXPECT_EQ(toVariantOf(host::Value(std::int16_t{-1}), VT_R4, noDispatch).get().fltVal, -1.0f);
    EXPECT_THROW(toVariantOf(host::Value(1e300), VT_R4, noDispatch), host::AutomationError);
    EXPECT_EQ(toVariantOf(host::Value(u"3"), VT_BSTR, noDispatch).get().vt, VT_BSTR);
    EXPECT_THROW(toVariantOf(host::Value(u"3"), VT_I4, noDispatch), host::AutomationError);
}

// Arrays of every numeric element type the host may declare, at any lower
// bound, read back as the doubles the tool works with.
TEST(VariantEdges, ArraysOfEveryNumericElementTypeReadBackAtTheirBound) {
    const host::DoubleArray values{{-1.0, 0.25, 255.0}, 0};
    for (VARTYPE element : {VARTYPE(VT_R8), VARTYPE(VT_R4), VARTYPE(VT_VARIANT)}) {
        for (std::int32_t lower : {0, 1, -3, 5}) {
            host::DoubleArray sent = values;
            sent.lowerBound = lower;
            const UniqueSafeArray made = makeArray(sent, element);
            const host::DoubleArray read =
                readDoubleArray(made.get(), [](const VARIANT& v) { return v.dblVal; });
            EXPECT_EQ(read.items, values.items) << element;
            EXPECT_EQ(read.lowerBound, lower) << element;
        }
    }
    for (VARTYPE element : {VARTYPE(VT_I2), VARTYPE(VT_I4)}) {
        const UniqueSafeArray made = makeArray(host::DoubleArray{{-1.0, 0.0, 255.0}, 1}, element);
        EXPECT_EQ(readDoubleArray(made.get()).items, (std::vector<double>{-1.0, 0.0, 255.0}));
    }
    // An integer array cannot hold what does not fit it.
    EXPECT_THROW(makeArray(host::DoubleArray{{40000.0}, 1}, VT_I2), host::AutomationError);
    EXPECT_THROW(makeArray(host::DoubleArray{{1.0}, 1}, VT_BSTR), host::AutomationError);
}

TEST(VariantEdges, UnsignedAndByteArraysReadWithoutSignMistakes) {
    SAFEARRAYBOUND bound{2, 1};
    UniqueSafeArray bytes(SafeArrayCreate(VT_UI1, 1, &bound));
    {
        SafeArrayLock lock(bytes.get());
        static_cast<unsigned char*>(lock.data())[0] = 255;
        static_cast<unsigned char*>(lock.data())[1] = 0;
    }
    EXPECT_EQ(readDoubleArray(bytes.get()).items, (std::vector<double>{255.0, 0.0}));
    UniqueSafeArray shorts(SafeArrayCreate(VT_I2, 1, &bound));
    {
        SafeArrayLock lock(shorts.get());
        static_cast<SHORT*>(lock.data())[0] = -1;
        static_cast<SHORT*>(lock.data())[1] = 32767;
    }
    EXPECT_EQ(readDoubleArray(shorts.get()).items, (std::vector<double>{-1.0, 32767.0}));
    UniqueSafeArray texts(SafeArrayCreate(VT_BSTR, 1, &bound));
    EXPECT_THROW(readDoubleArray(texts.get()), host::AutomationError);
}

}  // namespace
}  // namespace tav::com

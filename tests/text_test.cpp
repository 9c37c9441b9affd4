// Names, case rules and numeric conversions the run depends on.
#include <string>

#include <gtest/gtest.h>

#include "engine/color.h"
#include "engine/file_names.h"
#include "engine/text.h"
#include "host/conversions.h"
#include "host/error.h"
#include "platform/utf.h"

namespace tav::test {
namespace {

using engine::getFileName;
using engine::lowerCase;

int errorNumberOf(auto&& action) {
    try {
        action();
    } catch (const host::AutomationError& error) {
        return error.number();
    }
    return 0;
}

TEST(FileNames, TakeThePartAfterTheLastBackslash) {
    EXPECT_EQ(getFileName(u"C:\\Parts\\Bolt.par"), u"Bolt.par");
    EXPECT_EQ(getFileName(u"Bolt.par"), u"Bolt.par");
    EXPECT_EQ(getFileName(u"C:\\Parts\\"), u"");
    EXPECT_EQ(getFileName(u""), u"");
    // Forward slashes are no separators to the host.
    EXPECT_EQ(getFileName(u"C:\\A/B\\Ärger.PAR"), u"Ärger.PAR");
}

TEST(FileNames, PositionsAre16BitAndCountCodeUnits) {
    EXPECT_EQ(engine::findLast(u"a\\b\\c", u'\\'), 4);
    EXPECT_EQ(engine::findLast(u"abc", u'\\'), 0);
    // A character outside the BMP is two code units.
    EXPECT_EQ(engine::findLast(u"\U0001F600\\x", u'\\'), 3);
    const std::u16string longest(32767, u'a');
    EXPECT_EQ(engine::findLast(longest + u"", u'a'), 32767);
    EXPECT_EQ(errorNumberOf([&] { getFileName(longest + u"a"); }),
              host::runtime_error_number::overflow);
}

TEST(CaseRules, SimpleLowercaseOneCharacterAtATime) {
    EXPECT_EQ(lowerCase(u"ÄRGER.ASM"), u"ärger.asm");
    EXPECT_EQ(lowerCase(u"ΣΊΣΥΦΟΣ"), u"σίσυφοσ");  // no final-sigma rule
    EXPECT_EQ(lowerCase(u"ς"), u"ς");
    EXPECT_EQ(lowerCase(u"İ"), u"i");                    // one code unit, not two
    EXPECT_EQ(lowerCase(u"\U00010400"), u"\U00010428");  // Deseret, a surrogate pair
    const std::u16string loneSurrogate(1, static_cast<char16_t>(0xD801));
    EXPECT_EQ(lowerCase(loneSurrogate), loneSurrogate);
}

TEST(TextEncoding, RoundTripsEveryPlaneAndReplacesWhatIsBroken) {
    const std::u16string names = u"Zahnrad \u00c4\u03a3 \U0001F527.par";
    EXPECT_EQ(platform::toUtf16(platform::toUtf8(names)), names);
    EXPECT_EQ(platform::toUtf8(u"\U0001F527"), "\xF0\x9F\x94\xA7");
    // A host string may hold an unpaired surrogate; it is written as U+FFFD.
    EXPECT_EQ(platform::toUtf8(std::u16string{u'A', char16_t{0xD800}, u'B'}),
              "A\xEF\xBF\xBD"
              "B");
    EXPECT_EQ(platform::toUtf8(std::u16string{char16_t{0xDC00}}), "\xEF\xBF\xBD");
    // Invalid UTF-8 never passes through: each broken sequence becomes U+FFFD.
    EXPECT_EQ(platform::toUtf16("a\xFF"
                                "b"),
              u"a\uFFFD"
              "b");
    EXPECT_EQ(platform::toUtf16("\xC0\xAF"), u"\uFFFD") << "an overlong slash";
    EXPECT_EQ(platform::toUtf16("\xED\xA0\x80"), u"\uFFFD") << "an encoded surrogate";
    EXPECT_EQ(platform::toUtf16("x\xE2\x82"), u"x\uFFFD") << "cut short at the end";
}

TEST(Conversions, RoundHalfToEvenAndOverflowPast16Bits) {
    EXPECT_EQ(host::roundToInt16(127.5), 128);
    EXPECT_EQ(host::roundToInt16(126.5), 126);
    EXPECT_EQ(host::roundToInt16(-0.5), 0);
    EXPECT_EQ(host::roundToInt16(32767.49), 32767);
    EXPECT_EQ(errorNumberOf([] { host::roundToInt16(32767.5); }), 6);
    EXPECT_EQ(errorNumberOf([] { host::roundToInt16(-32768.51); }), 6);
    EXPECT_EQ(host::toInt16(host::Value(std::int32_t{-32768})), -32768);
    EXPECT_EQ(errorNumberOf([] { host::toInt16(host::Value(std::int32_t{32768})); }), 6);
    EXPECT_EQ(host::toInt16(host::Value(true)), -1);
    EXPECT_EQ(host::toInt16(host::Value()), 0);
    EXPECT_EQ(errorNumberOf([] { host::toInt16(host::Value(u"12")); }),
              host::runtime_error_number::typeMismatch);
    EXPECT_EQ(errorNumberOf([] { host::toObject(host::Value(3.0)); }),
              host::runtime_error_number::objectRequired);
}

TEST(Colors, ScaleInTheHostsPrecisionAndClampComponents) {
    EXPECT_EQ(engine::scaleComponent(0.5), 128);  // 127.5 rounds to even
    // 0.3f * 255 in single precision is 76.5 exactly and rounds to 76; the
    // same value widened to double first gives 76.500003 and rounds to 77.
    EXPECT_EQ(engine::scaleComponent(host::Value(0.3f)), 76);
    EXPECT_EQ(engine::scaleComponent(static_cast<double>(0.3f)), 77);
    EXPECT_EQ(engine::combineComponents(255, 128, 0), 33023);
    EXPECT_EQ(engine::combineComponents(0, 0, 255), 16711680);
    EXPECT_EQ(engine::combineComponents(300, -20, 255), 255 + 65536 * 255);
    EXPECT_EQ(errorNumberOf([] { engine::scaleComponent(200.0); }), 6);
}

}  // namespace
}  // namespace tav::test

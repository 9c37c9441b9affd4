// What the harness prints cannot act on the terminal: text from a scene or a
// refusal shows what it holds, with everything a terminal would act on, and
// every byte that is not UTF-8, written as a visible escape.
#include <string>

#include <gtest/gtest.h>

#include "testbed/harness_session/terminal_text.h"

namespace tav::test {
namespace {

using session::printable;

TEST(PrintableText, PrintableTextAndBackslashesPassUnchanged) {
    EXPECT_EQ(printable("C:\\Work\\Bolt.par"), "C:\\Work\\Bolt.par");
    EXPECT_EQ(printable("Zahnrad Ä σ 歯車 🔩"), "Zahnrad Ä σ 歯車 🔩");
    EXPECT_EQ(printable(u"Ä\U0001F529"), "Ä🔩");
}

TEST(PrintableText, ControlCharactersAndEscapeSequencesShowAsEscapes) {
    EXPECT_EQ(printable("a\x1b[2Jb"), "a\\x1B[2Jb");
    EXPECT_EQ(printable("line\r\nforged"), "line\\x0D\\x0Aforged");
    EXPECT_EQ(printable(std::string("nul\0tab\t", 8)), "nul\\x00tab\\x09");
    EXPECT_EQ(printable("del\x7f"), "del\\x7F");
    EXPECT_EQ(printable("csi\xc2\x9b"), "csi\\u{009B}");
}

TEST(PrintableText, SeparatorsAndDirectionOverridesShowAsEscapes) {
    EXPECT_EQ(printable("Nut\u202e.par"), "Nut\\u{202E}.par");
    EXPECT_EQ(printable("a\u2028b\u2066c"), "a\\u{2028}b\\u{2066}c");
    EXPECT_EQ(printable(u"x\u200fy"), "x\\u{200F}y");
}

TEST(PrintableText, BytesThatAreNotUtf8ShowOneByOne) {
    EXPECT_EQ(printable("a\xff"
                        "b"),
              "a\\xFFb");
    EXPECT_EQ(printable("\xc0\xaf"), "\\xC0\\xAF") << "overlong";
    EXPECT_EQ(printable("\xed\xa0\x80"), "\\xED\\xA0\\x80") << "surrogate";
    EXPECT_EQ(printable("\xf4\x90\x80\x80"), "\\xF4\\x90\\x80\\x80") << "past U+10FFFF";
    EXPECT_EQ(printable("end\xe2\x82"), "end\\xE2\\x82") << "cut short";
    EXPECT_EQ(printable("\x80"
                        "x"),
              "\\x80x")
        << "stray continuation";
}

TEST(PrintableText, UnpairedSurrogatesFromTheHostShowAsReplacement) {
    EXPECT_EQ(printable(std::u16string(1, u'\xD800')), "\uFFFD");
}

}  // namespace
}  // namespace tav::test

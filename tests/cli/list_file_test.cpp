// List files as users save them: any of the encodings and line ends editors
// write, comments and blank lines, and bytes that are no text refused with
// the line they are on.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "app/cli/list_file.h"

namespace tav::test {
namespace {

using cli::decodeListFile;
using cli::TextFileError;
using Paths = std::vector<std::u16string>;

// The bytes of `text` in UTF-16 with a byte order mark.
std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The error's message, or "" when the bytes decode.
std::string errorOf(std::string_view bytes) {
    try {
        decodeListFile(bytes);
    } catch (const TextFileError& error) {
        return error.what();
    }
    return "";
}

TEST(ListFileEncodings, EveryEncodingGivesTheSamePaths) {
    const std::u16string text =
        u"C:\\Zeichnungen\\Ärger.dft\r\n\\\\srv\\teile\\\U0001F527 Rad.dft\r\n";
    const Paths expected = {u"C:\\Zeichnungen\\Ärger.dft", u"\\\\srv\\teile\\\U0001F527 Rad.dft"};
    const std::string utf8 =
        "C:\\Zeichnungen\\\xC3\x84rger.dft\r\n\\\\srv\\teile\\\xF0\x9F\x94\xA7 Rad.dft\r\n";

    EXPECT_EQ(decodeListFile(utf8), expected);
    EXPECT_EQ(decodeListFile("\xEF\xBB\xBF" + utf8), expected);
    EXPECT_EQ(decodeListFile(utf16Bytes(text, false)), expected);
    EXPECT_EQ(decodeListFile(utf16Bytes(text, true)), expected);
}

TEST(ListFileEncodings, AByteOrderMarkIsNoPartOfTheFirstPath) {
    EXPECT_EQ(decodeListFile("\xEF\xBB\xBF"
                             "a.dft"),
              Paths{u"a.dft"});
    EXPECT_EQ(decodeListFile(utf16Bytes(u"a.dft", false)), Paths{u"a.dft"});
    EXPECT_EQ(decodeListFile("\xEF\xBB\xBF"), Paths{});
    EXPECT_EQ(decodeListFile(""), Paths{});
}

TEST(ListFileLines, EveryKindOfLineEndSeparatesPaths) {
    EXPECT_EQ(decodeListFile("a\r\nb\nc\rd"), (Paths{u"a", u"b", u"c", u"d"}));
    // CR LF is one line end, LF CR are two.
    EXPECT_EQ(decodeListFile("a\r\n\r\nb\n\rc"), (Paths{u"a", u"b", u"c"}));
}

TEST(ListFileLines, TrimsWhiteSpaceAndSkipsBlankAndCommentLines) {
    const std::string bytes =
        "# drawings of the gearbox\n"
        "   \t\n"
        "\t C:\\a b\\c.dft  \t\n"
        "  # indented comment\n"
        "C:\\#1.dft\n"
        "\xE3\x80\x80"
        "d.dft"
        "\xC2\xA0\n";  // ideographic and no-break spaces
    EXPECT_EQ(decodeListFile(bytes), (Paths{u"C:\\a b\\c.dft", u"C:\\#1.dft", u"d.dft"}));
}

TEST(ListFileLines, AByteOrderMarkInsideTheTextIsTrimmed) {
    // Two list files joined (copy a.txt+b.txt) keep the second one's mark.
    EXPECT_EQ(decodeListFile("\xEF\xBB\xBF"
                             "a.dft\r\n"
                             "\xEF\xBB\xBF"
                             "b.dft\r\n"),
              (Paths{u"a.dft", u"b.dft"}));
    EXPECT_EQ(decodeListFile(utf16Bytes(u"\uFEFFa.dft", true)), Paths{u"a.dft"});
}

TEST(ListFileLines, KeepsOrderAndDuplicates) {
    EXPECT_EQ(decodeListFile("b.dft\na.dft\nb.dft\nB.DFT\n"),
              (Paths{u"b.dft", u"a.dft", u"b.dft", u"B.DFT"}));
}

TEST(ListFileErrors, InvalidUtf8NamesItsLine) {
    EXPECT_EQ(errorOf("a\nb\n\xC3(\n"), "line 3: not valid UTF-8");
    EXPECT_EQ(errorOf("\xFF"), "line 1: not valid UTF-8");
    EXPECT_EQ(errorOf("a\r\n\xE2\x82"), "line 2: not valid UTF-8");     // cut short
    EXPECT_EQ(errorOf("\xC0\xAF"), "line 1: not valid UTF-8");          // overlong '/'
    EXPECT_EQ(errorOf("\xED\xA0\x80"), "line 1: not valid UTF-8");      // a surrogate
    EXPECT_EQ(errorOf("\xF4\x90\x80\x80"), "line 1: not valid UTF-8");  // past U+10FFFF
    EXPECT_EQ(errorOf("\xBF"), "line 1: not valid UTF-8");              // lone continuation
    // Windows-1252 text, the likeliest mistake, is refused rather than misread.
    EXPECT_EQ(errorOf("C:\\\xC4rger.dft"), "line 1: not valid UTF-8");
}

TEST(ListFileErrors, Utf16ProblemsNameTheirLine) {
    std::string odd = utf16Bytes(u"a\nb", false);
    odd.push_back('c');
    EXPECT_EQ(errorOf(odd), "line 2: UTF-16 text of an odd number of bytes");

    const std::u16string loneHigh = {u'a', u'\n', 0xD83D, u'x'};
    const std::u16string loneLow = {0xDC00};
    const std::u16string highAtEnd = {u'a', 0xD83D};
    EXPECT_EQ(errorOf(utf16Bytes(loneHigh, false)), "line 2: unpaired UTF-16 surrogate");
    EXPECT_EQ(errorOf(utf16Bytes(loneLow, true)), "line 1: unpaired UTF-16 surrogate");
    EXPECT_EQ(errorOf(utf16Bytes(highAtEnd, false)), "line 1: unpaired UTF-16 surrogate");
}

TEST(ListFileErrors, NulCharacterIsRefusedEvenInAComment) {
    EXPECT_EQ(errorOf(std::string("a\n# b\0c\n", 8)), "line 2: NUL character");
    // UTF-16 saved without a byte order mark reads as UTF-8 full of NULs.
    EXPECT_EQ(errorOf(std::string("a\0.\0", 4)), "line 1: NUL character");
}

TEST(ListFileErrors, TheErrorCarriesTheLineNumber) {
    try {
        decodeListFile("a\rb\r\xFE");
        FAIL() << "decoded invalid UTF-8";
    } catch (const TextFileError& error) {
        EXPECT_EQ(error.line(), 3);
    }
}

}  // namespace
}  // namespace tav::test

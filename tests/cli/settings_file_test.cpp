// program_settings.txt: key and value split and trimmed, comments of either
// kind, and lines that are no setting refused with their number.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "app/cli/settings_file.h"

namespace tav::test {
namespace {

using cli::decodeSettingsFile;
using cli::SettingsEntry;
using cli::TextFileError;

std::string errorOf(std::string_view bytes) {
    try {
        decodeSettingsFile(bytes);
    } catch (const TextFileError& error) {
        return error.what();
    }
    return "";
}

TEST(SettingsFile, SplitsAtTheFirstEqualsSignAndTrims) {
    const std::vector<SettingsEntry> entries = decodeSettingsFile(
        "# program settings\r\n"
        "' an old-style comment\r\n"
        "\r\n"
        "  output folder =  C:\\Berichte\\Ä \r\n"
        "filter=a=b\r\n"
        "empty =\r\n"
        "\t  # indented comment\r\n"
        "Schlüssel\t=\tWert");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].key, "output folder");
    EXPECT_EQ(entries[0].value, u"C:\\Berichte\\Ä");
    EXPECT_EQ(entries[0].line, 4);
    EXPECT_EQ(entries[1].key, "filter");
    EXPECT_EQ(entries[1].value, u"a=b");
    EXPECT_EQ(entries[2].key, "empty");
    EXPECT_EQ(entries[2].value, u"");
    EXPECT_EQ(entries[2].line, 6);
    EXPECT_EQ(entries[3].key,
              "Schl\xC3\xBC"
              "ssel");  // the key is UTF-8
    EXPECT_EQ(entries[3].value, u"Wert");
    EXPECT_EQ(entries[3].line, 8);
}

TEST(SettingsFile, KeepsOrderAndRepeatedKeys) {
    const std::vector<SettingsEntry> entries = decodeSettingsFile("b = 1\na = 2\nb = 3\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key + entries[1].key + entries[2].key, "bab");
    EXPECT_EQ(entries[2].value, u"3");
}

TEST(SettingsFile, ReadsUtf16) {
    const std::string bytes("\xFF\xFEk\0=\0v\0\r\0\n\0", 12);
    const std::vector<SettingsEntry> entries = decodeSettingsFile(bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].key, "k");
    EXPECT_EQ(entries[0].value, u"v");
}

TEST(SettingsFileErrors, ALineThatIsNoSettingNamesItsNumber) {
    EXPECT_EQ(errorOf("a = 1\nverbose\n"), "line 2: no '=' between a key and its value");
    EXPECT_EQ(errorOf("a = 1\r\n\r\n  = 2\r\n"), "line 3: no key before '='");
    EXPECT_EQ(errorOf("key = \xE9t\xE9"), "line 1: not valid UTF-8");
}

}  // namespace
}  // namespace tav::test

// The report's CSV: what spreadsheets need (BOM, CRLF, quoting) and that the
// reader gives back exactly what was written.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/cli/csv.h"

namespace tav::test {
namespace {

using cli::csvFileText;
using cli::CsvRows;
using cli::readCsvFileText;

TEST(CsvWriting, BomCrlfAndQuotingOnlyWhereNeeded) {
    const CsvRows rows = {{"file", "result"}, {"a,b.dft", "say \"hi\""}, {"x\ny", "plain"}};
    EXPECT_EQ(csvFileText(rows),
              "\xEF\xBB\xBF"
              "file,result\r\n"
              "\"a,b.dft\",\"say \"\"hi\"\"\"\r\n"
              "\"x\ny\",plain\r\n");
    EXPECT_EQ(csvFileText({}), "\xEF\xBB\xBF");
}

TEST(CsvWriting, ARowOfOneEmptyFieldDiffersFromAnEmptyRow) {
    EXPECT_EQ(csvFileText({{}, {""}, {"", ""}}), "\xEF\xBB\xBF\r\n\"\"\r\n,\r\n");
}

TEST(CsvRoundTrip, GivesBackExactlyTheRowsWritten) {
    const std::vector<CsvRows> cases = {
        {},
        {{}},
        {{""}},
        {{}, {}, {""}, {}},
        {{"", ""}, {"", "", ""}},
        {{"a"}, {"a", "b", "c"}, {"a", "", "c"}},
        {{"\""}, {"\"\""}, {",", ",,"}, {"a\"b", "\"a\""}},
        {{"line\r\nbreak", "cr\ronly", "lf\nonly", "\r\n"}},
        {{"C:\\Zeichnungen\\Ärger.dft", "Σκάλα", "\xF0\x9F\x94\xA7"}},
        {{" leading and trailing spaces "}, {"\t"}},
    };
    for (const CsvRows& rows : cases) {
        EXPECT_EQ(readCsvFileText(csvFileText(rows)), rows) << csvFileText(rows);
    }
}

TEST(CsvReading, AcceptsWhatOtherProgramsWrite) {
    const CsvRows expected = {{"a", "b"}, {"c"}};
    EXPECT_EQ(readCsvFileText("a,b\r\nc"), expected);  // no BOM, no final line end
    EXPECT_EQ(readCsvFileText("a,b\nc\n"), expected);
    EXPECT_EQ(readCsvFileText("a,b\rc\r"), expected);
    EXPECT_EQ(readCsvFileText(""), CsvRows{});
}

TEST(CsvReading, RefusesBrokenQuotingWithTheRow) {
    const auto errorOf = [](std::string_view bytes) -> std::string {
        try {
            readCsvFileText(bytes);
        } catch (const cli::CsvError& error) {
            return error.what();
        }
        return "";
    };
    EXPECT_EQ(errorOf("a\r\n\"open"), "CSV row 2: a quoted field that is not closed");
    EXPECT_EQ(errorOf("\"a\"b,c"), "CSV row 1: text after a closing quote");
    EXPECT_EQ(errorOf("a\r\nb\r\nab\"c"), "CSV row 3: a quote inside an unquoted field");
}

}  // namespace
}  // namespace tav::test

// The program a server runs gets exactly the arguments it was given, however
// they are spelled.
#include <gtest/gtest.h>

#include "hostprocess/command_line.h"

namespace tav::hostprocess {
namespace {

TEST(CommandLine, PlainArgumentsGoAsTheyAre) {
    EXPECT_EQ(joinCommandLine({L"tool.exe", L"--quiet", L"C:\\Work\\a.json"}),
              L"tool.exe --quiet C:\\Work\\a.json");
}

TEST(CommandLine, SpacesEmptinessAndQuotesAreQuoted) {
    EXPECT_EQ(quoteArgument(L"My Drawings\\a b.json"), L"\"My Drawings\\a b.json\"");
    EXPECT_EQ(quoteArgument(L""), L"\"\"");
    EXPECT_EQ(quoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
}

TEST(CommandLine, BackslashesDoubleOnlyBeforeAQuote) {
    // A folder with a space and a trailing backslash: the backslash must not
    // escape the closing quote.
    EXPECT_EQ(quoteArgument(L"C:\\My Work\\"), L"\"C:\\My Work\\\\\"");
    EXPECT_EQ(quoteArgument(L"a\\\\\"b c"), L"\"a\\\\\\\\\\\"b c\"");
}

}  // namespace
}  // namespace tav::hostprocess

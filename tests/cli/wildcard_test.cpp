// Wildcards matched as FindFirstFileW matches long names, MS-DOS rules
// included, so that "*.dft" and "Teil?.dft" find what they find on Windows.
#include <gtest/gtest.h>

#include "app/cli/windows_path.h"

namespace tav::test {
namespace {

using cli::matchesWildcard;

TEST(Wildcards, FoundOnlyWhereThereAreAny) {
    EXPECT_TRUE(cli::hasWildcard(u"*.dft"));
    EXPECT_TRUE(cli::hasWildcard(u"Teil?.dft"));
    EXPECT_FALSE(cli::hasWildcard(u"C:\\Teile\\a.dft"));
}

TEST(Wildcards, StarMatchesAnyRunAndLetterCaseIsIgnored) {
    EXPECT_TRUE(matchesWildcard(u"Getriebe.dft", u"*.dft"));
    EXPECT_TRUE(matchesWildcard(u"GETRIEBE.DFT", u"*.dft"));
    EXPECT_TRUE(matchesWildcard(u"Ärger.dft", u"ä*.DFT"));
    EXPECT_TRUE(matchesWildcard(u"a.b.dft", u"*.dft"));
    EXPECT_TRUE(matchesWildcard(u".dft", u"*.dft"));
    EXPECT_FALSE(matchesWildcard(u"a.dft.bak", u"*.dft"));
    EXPECT_FALSE(matchesWildcard(u"a.dftx", u"*.dft"));
    EXPECT_TRUE(matchesWildcard(u"Rad-12-links.dft", u"Rad*links*"));
    EXPECT_FALSE(matchesWildcard(u"Rad-12-rechts.dft", u"Rad*links*"));
    EXPECT_TRUE(matchesWildcard(u"anything", u"*"));
    EXPECT_TRUE(matchesWildcard(u"Exact.dft", u"exact.dft"));
    EXPECT_FALSE(matchesWildcard(u"Exact.dft", u"Exac.dft"));
}

TEST(Wildcards, QuestionMarkMatchesOneCharacterOrNothingBeforeADot) {
    EXPECT_TRUE(matchesWildcard(u"Teil1.dft", u"Teil?.dft"));
    EXPECT_FALSE(matchesWildcard(u"Teil12.dft", u"Teil?.dft"));
    EXPECT_TRUE(matchesWildcard(u"Teil.dft", u"Teil?.dft"));
    EXPECT_TRUE(matchesWildcard(u"Teil12.dft", u"Teil??.dft"));
    EXPECT_TRUE(matchesWildcard(u"ab", u"ab??"));        // and at the end
    EXPECT_FALSE(matchesWildcard(u"a.b", u"a?b"));       // never a dot
    EXPECT_TRUE(matchesWildcard(u"\U0001F527", u"??"));  // one per UTF-16 unit
}

TEST(Wildcards, MsDosDotRules) {
    EXPECT_TRUE(matchesWildcard(u"README", u"*.*"));
    EXPECT_TRUE(matchesWildcard(u"a.b.c", u"*.*"));
    EXPECT_TRUE(matchesWildcard(u"README", u"*."));
    EXPECT_FALSE(matchesWildcard(u"a.dft", u"*."));
    EXPECT_TRUE(matchesWildcard(u"Teil", u"Teil.*"));
    EXPECT_TRUE(matchesWildcard(u"Teil.dft", u"Teil.*"));
}

}  // namespace
}  // namespace tav::test

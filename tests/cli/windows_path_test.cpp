// Paths made absolute and compared as Windows does, so that the program
// finds the files the user meant and counts each drawing once.
#include <string>

#include <gtest/gtest.h>

#include "app/cli/windows_path.h"

namespace tav::test {
namespace {

using cli::absoluteWindowsPath;

constexpr std::u16string_view work = u"C:\\Work\\Batch";

std::u16string absolute(std::u16string_view path) {
    return absoluteWindowsPath(path, work);
}

TEST(AbsolutePath, RelativePathsAreTakenFromTheWorkingDirectory) {
    EXPECT_EQ(absolute(u"a.dft"), u"C:\\Work\\Batch\\a.dft");
    EXPECT_EQ(absolute(u".\\a.dft"), u"C:\\Work\\Batch\\a.dft");
    EXPECT_EQ(absolute(u"..\\a.dft"), u"C:\\Work\\a.dft");
    EXPECT_EQ(absolute(u"sub/x/../a.dft"), u"C:\\Work\\Batch\\sub\\a.dft");
    EXPECT_EQ(absolute(u"."), u"C:\\Work\\Batch");
    EXPECT_EQ(absolute(u".."), u"C:\\Work");
    // The working directory may be given with its separator.
    EXPECT_EQ(absoluteWindowsPath(u"a", u"C:\\Work\\"), u"C:\\Work\\a");
    EXPECT_EQ(absoluteWindowsPath(u"a", u"C:\\"), u"C:\\a");
}

TEST(AbsolutePath, AbsolutePathsAreOnlyNormalised) {
    EXPECT_EQ(absolute(u"D:\\Parts\\a.dft"), u"D:\\Parts\\a.dft");
    EXPECT_EQ(absolute(u"d:/parts//x\\\\.\\a.dft"), u"d:\\parts\\x\\a.dft");  // case kept
    EXPECT_EQ(absolute(u"D:\\"), u"D:\\");
    EXPECT_EQ(absolute(u"D:\\Parts\\"), u"D:\\Parts\\");  // a final separator stays
}

TEST(AbsolutePath, DotDotNeverClimbsAboveTheRoot) {
    EXPECT_EQ(absolute(u"C:\\..\\..\\a.dft"), u"C:\\a.dft");
    EXPECT_EQ(absolute(u"C:\\a\\.."), u"C:\\");
    EXPECT_EQ(absolute(u"..\\..\\..\\..\\a"), u"C:\\a");
    EXPECT_EQ(absolute(u"\\\\srv\\share\\..\\..\\a"), u"\\\\srv\\share\\a");
    EXPECT_EQ(absolute(u"\\\\srv\\share\\x\\.."), u"\\\\srv\\share\\");
    EXPECT_EQ(absolute(u"\\\\.\\C:\\..\\..\\x"), u"\\\\.\\x");
}

TEST(AbsolutePath, DriveRelativePathsUseTheWorkingDirectoryOnlyOnItsDrive) {
    EXPECT_EQ(absolute(u"C:a.dft"), u"C:\\Work\\Batch\\a.dft");
    EXPECT_EQ(absolute(u"c:..\\a.dft"), u"C:\\Work\\a.dft");  // drive letters ignore case
    EXPECT_EQ(absolute(u"C:"), u"C:\\Work\\Batch");
    EXPECT_EQ(absolute(u"D:a.dft"), u"D:\\a.dft");
    EXPECT_EQ(absolute(u"D:"), u"D:\\");
}

TEST(AbsolutePath, RootRelativePathsUseTheWorkingDirectorysRoot) {
    EXPECT_EQ(absolute(u"\\Parts\\a.dft"), u"C:\\Parts\\a.dft");
    EXPECT_EQ(absolute(u"/Parts/../a.dft"), u"C:\\a.dft");
    EXPECT_EQ(absoluteWindowsPath(u"\\Parts\\a.dft", u"\\\\srv\\share\\Work"),
              u"\\\\srv\\share\\Parts\\a.dft");
    EXPECT_EQ(absoluteWindowsPath(u"..\\..\\a.dft", u"\\\\srv\\share\\Work"),
              u"\\\\srv\\share\\a.dft");
}

TEST(AbsolutePath, UncPaths) {
    EXPECT_EQ(absolute(u"\\\\srv\\share\\a\\.\\b.dft"), u"\\\\srv\\share\\a\\b.dft");
    EXPECT_EQ(absolute(u"//srv/share/a//b.dft"), u"\\\\srv\\share\\a\\b.dft");
    EXPECT_EQ(absolute(u"\\\\srv\\share"), u"\\\\srv\\share");
}

TEST(AbsolutePath, TrailingDotsAndSpacesGoAsWindowsDropsThem) {
    EXPECT_EQ(absolute(u"C:\\a\\b.dft. . "), u"C:\\a\\b.dft");
    EXPECT_EQ(absolute(u"C:\\a.\\b"), u"C:\\a\\b");              // one dot of an inner name
    EXPECT_EQ(absolute(u"C:\\a..\\b"), u"C:\\a.\\b");            // and only one
    EXPECT_EQ(absolute(u"C:\\a \\b"), u"C:\\a \\b");             // an inner space stays
    EXPECT_EQ(absolute(u"C:\\a\\b \\"), u"C:\\a\\b \\");         // as after a final separator
    EXPECT_EQ(absolute(u"C:\\a\\b .\\."), u"C:\\a\\b");          // final once "." is gone
    EXPECT_EQ(absolute(u" a.dft"), u"C:\\Work\\Batch\\ a.dft");  // leading spaces stay
}

TEST(AbsolutePath, ExtendedPathsAreLeftAsTheyAre) {
    EXPECT_EQ(absolute(u"\\\\?\\C:\\a\\..\\b. "), u"\\\\?\\C:\\a\\..\\b. ");
    // Only with backslashes; otherwise the path is a device path like \\.\.
    EXPECT_EQ(absolute(u"//?/C:/a/../b"), u"\\\\?\\C:\\b");
}

TEST(AbsolutePath, WhatWindowsRefusesGivesNothing) {
    EXPECT_EQ(absolute(u""), u"");
    EXPECT_EQ(absolute(u"   "), u"");
}

TEST(PathComparison, IgnoresLetterCaseOfEveryAlphabet) {
    EXPECT_TRUE(cli::samePathIgnoringCase(u"C:\\Teile\\ÄRGER.DFT", u"c:\\teile\\ärger.dft"));
    EXPECT_TRUE(cli::samePathIgnoringCase(u"C:\\ΣΚΑΛΑ.dft", u"c:\\σκαλα.DFT"));
    EXPECT_FALSE(cli::samePathIgnoringCase(u"C:\\a.dft", u"C:\\b.dft"));
    EXPECT_FALSE(cli::samePathIgnoringCase(u"C:\\a.dft", u"C:\\a.dft "));
    EXPECT_FALSE(cli::samePathIgnoringCase(u"C:\\a\\x.dft", u"C:/a/x.dft"));  // text only
}

TEST(PathParts, FolderAndNameSplitAfterTheLastSeparator) {
    const auto split = [](std::u16string_view path) {
        const cli::FolderAndName parts = cli::splitFolderAndName(path);
        return std::u16string(parts.folder) + u"|" + std::u16string(parts.name);
    };
    EXPECT_EQ(split(u"C:\\a\\b.dft"), u"C:\\a\\|b.dft");
    EXPECT_EQ(split(u"C:/a/*.dft"), u"C:/a/|*.dft");
    EXPECT_EQ(split(u"C:\\"), u"C:\\|");
    EXPECT_EQ(split(u"C:b.dft"), u"C:|b.dft");
    EXPECT_EQ(split(u"b.dft"), u"|b.dft");
}

TEST(PathParts, DraftExtensionIsOnTheFileNameInAnyAsciiCase) {
    EXPECT_TRUE(cli::hasDraftExtension(u"C:\\a\\b.dft"));
    EXPECT_TRUE(cli::hasDraftExtension(u"b.DfT"));
    EXPECT_TRUE(cli::hasDraftExtension(u"C:\\a\\b.c.dft"));
    EXPECT_FALSE(cli::hasDraftExtension(u"C:\\a\\b.dft.bak"));
    EXPECT_FALSE(cli::hasDraftExtension(u"C:\\a\\bdft"));
    EXPECT_FALSE(cli::hasDraftExtension(u"C:\\x.dft\\b.par"));
    EXPECT_FALSE(cli::hasDraftExtension(u"dft"));
}

}  // namespace
}  // namespace tav::test

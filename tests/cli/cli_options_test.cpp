// The command-line tool's options as the user gives them: arguments over the
// settings file, and the refusals that name what is wrong.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/cli/cli_options.h"

namespace tav::test {
namespace {

using cli::CliOptions;
using cli::UsageError;
using testing::ElementsAre;
using testing::HasSubstr;

CliOptions fromArguments(std::vector<std::u16string> arguments) {
    CliOptions options;
    cli::applyArguments(options, arguments);
    return options;
}

std::string usageErrorOf(auto&& action) {
    try {
        action();
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(no usage error)";
}

TEST(CliOptions, ArgumentsTakeValuesBothWaysAndEverythingElseIsAFile) {
    const CliOptions options = fromArguments({u"--sheets", u"ALL", u"a.dft", u"--report=C:\\r.csv",
                                              u"--no-save", u"--", u"--dry-run", u"-"});
    EXPECT_EQ(options.sheets, engine::SheetChoice::all);
    EXPECT_EQ(options.report, u"C:\\r.csv");
    EXPECT_TRUE(options.noSave);
    EXPECT_FALSE(options.dryRun);  // after "--" it is a file name
    EXPECT_THAT(options.files, ElementsAre(u"a.dft", u"--dry-run", u"-"));
}

TEST(CliOptions, RefusalsNameWhatIsWrong) {
    EXPECT_THAT(usageErrorOf([] { fromArguments({u"--colour"}); }), HasSubstr("--colour"));
    EXPECT_THAT(usageErrorOf([] { fromArguments({u"--sheets", u"some"}); }), HasSubstr("\"some\""));
    EXPECT_THAT(usageErrorOf([] { fromArguments({u"--report"}); }), HasSubstr("needs a value"));
    EXPECT_THAT(usageErrorOf([] { fromArguments({u"--quiet=yes"}); }), HasSubstr("no value"));
    EXPECT_THAT(usageErrorOf([] { fromArguments({u"--list="}); }), HasSubstr("file name"));
}

TEST(CliOptions, SettingsUseUnderscoresBooleansInAnyCaseAndPathsBesideTheProgram) {
    CliOptions options;
    const std::u16string folder = u"C:\\Tools\\Tavrelmondix";
    cli::applySetting(options, "no_save", u"TRUE", folder);
    cli::applySetting(options, "dry_run", u"false", folder);
    cli::applySetting(options, "sheets", u"active", folder);
    cli::applySetting(options, "report", u"out\\colours.csv", folder);
    cli::applySetting(options, "list", u"D:\\lists\\week.txt", folder);
    EXPECT_TRUE(options.noSave);
    EXPECT_FALSE(options.dryRun);
    EXPECT_EQ(options.sheets, engine::SheetChoice::active);
    EXPECT_EQ(options.report, u"C:\\Tools\\Tavrelmondix\\out\\colours.csv");
    EXPECT_EQ(options.list, u"D:\\lists\\week.txt");

    EXPECT_THAT(usageErrorOf([&] { cli::applySetting(options, "no-save", u"true", folder); }),
                HasSubstr("\"no-save\""));
    EXPECT_THAT(usageErrorOf([&] { cli::applySetting(options, "quiet", u"yes", folder); }),
                HasSubstr("\"yes\""));
}

TEST(CliOptions, ArgumentsOverrideSettings) {
    CliOptions options;
    cli::applySetting(options, "sheets", u"all", u"C:\\Tools");
    cli::applySetting(options, "report", u"a.csv", u"C:\\Tools");
    cli::applyArguments(options, {u"--sheets=active", u"--report", u"b.csv"});
    EXPECT_EQ(options.sheets, engine::SheetChoice::active);
    EXPECT_EQ(options.report, u"b.csv");
}

}  // namespace
}  // namespace tav::test

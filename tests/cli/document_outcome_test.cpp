// The line each Draft gets on standard output and in error_messages.txt.
#include <gtest/gtest.h>

#include "app/cli/document_outcome.h"

namespace tav::test {
namespace {

TEST(DocumentLine, ProcessedShowsWhatWasDoneAndNotProcessedWhy) {
    cli::DocumentOutcome processed;
    processed.path = u"C:\\Work\\Gearbox.dft";
    processed.processed = true;
    processed.sheets = 1;
    processed.views = 3;
    processed.partMembers = 4;
    processed.coloredMembers = 3;
    processed.stylesCreated = 6;
    processed.notes = {u"saved"};
    processed.seconds = 1.25;
    EXPECT_EQ(cli::documentLine(processed),
              u"processed: C:\\Work\\Gearbox.dft: 1 sheet, 3 views, 4 parts (3 coloured), 6 "
              u"styles created; saved; 1.3 s");

    cli::DocumentOutcome refused;
    refused.path = u"C:\\Work\\notes.txt";
    refused.reason = u"not a Draft";
    EXPECT_EQ(cli::documentLine(refused), u"not processed: C:\\Work\\notes.txt: not a Draft");
    EXPECT_EQ(cli::errorMessageLine(refused), u"C:\\Work\\notes.txt: not a Draft");
}

TEST(DocumentLine, SecondsHaveOneDecimal) {
    EXPECT_EQ(cli::secondsText(0.0), u"0.0");
    EXPECT_EQ(cli::secondsText(0.04), u"0.0");
    EXPECT_EQ(cli::secondsText(12.96), u"13.0");
    EXPECT_EQ(cli::secondsText(-1.0), u"0.0");
}

}  // namespace
}  // namespace tav::test

// How one Draft of a command-line run ended, and the line that says so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tav::cli {

struct DocumentOutcome {
    std::u16string path;
    // Processed: no failure ended the document (it may have had nothing to
    // colour, or a tolerated step may have failed).
    bool processed = false;
    // Why it was not processed, or what ended it ("error N "text" on sheet
    // ..."); empty for a processed document.
    std::u16string reason;
    std::int32_t sheets = 0;
    std::int32_t views = 0;
    std::int32_t partMembers = 0;
    std::int32_t coloredMembers = 0;
    std::int32_t stylesCreated = 0;
    // A reset: members given back an earlier style; none when colouring.
    std::optional<std::int32_t> resetMembers;
    // What became of the document: "saved", "not saved (--no-save)", ...
    std::vector<std::u16string> notes;
    std::optional<double> seconds;  // none when Solid Edge was never asked
    // Lines printed under the document's line (the styles a dry run would remove).
    std::vector<std::u16string> details;
};

// "processed: PATH: 2 sheets, 3 views, ..." or "not processed: PATH: REASON".
std::u16string documentLine(const DocumentOutcome& outcome);

// The line error_messages.txt holds for a document that was not processed.
std::u16string errorMessageLine(const DocumentOutcome& outcome);

// Seconds with one decimal: "0.0", "12.5".
std::u16string secondsText(double seconds);

}  // namespace tav::cli

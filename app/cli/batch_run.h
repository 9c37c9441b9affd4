// The command-line tool's work in Solid Edge: the settings held for the
// whole command, then each Draft opened (or found open), processed sheet by
// sheet, saved and closed, a failure ending only its own document.
#pragma once

#include <string>
#include <vector>

#include "app/cli/cli_environment.h"
#include "app/cli/cli_options.h"
#include "app/cli/document_list.h"
#include "app/cli/document_outcome.h"
#include "app/cli/interrupt_gate.h"
#include "host/host_connector.h"

namespace tav::cli {

struct BatchEnd {
    std::vector<DocumentOutcome> documents;
    // Lines for error_messages.txt beyond the documents' own: Solid Edge not
    // running, the active document not a Draft, "interrupted".
    std::vector<std::u16string> messages;
    bool interrupted = false;
    // Every document was processed (and, without files, the active one was a Draft).
    bool succeeded = false;
    // The report's rows, header first; empty unless a report was asked for.
    std::vector<std::vector<std::string>> reportRows;
};

// Works on `documents`, or on the active document when `activeDocumentOnly`.
// Prints each document's line as it ends.
BatchEnd runBatch(CliEnvironment& environment, host::HostConnector& connector, InterruptGate& gate,
                  const CliOptions& options, const std::vector<DocumentEntry>& documents,
                  bool activeDocumentOnly);

}  // namespace tav::cli

// A batch for the command-line tool: many alike Drafts on disk, every one
// with a few working sheets that each hold one view of the same flat
// assembly.
//
// batchScene: `documents` drafts "C:\Work\Batch\D0001.dft" ... (not open
// until the tool opens them), each with `sheetsPerDocument` working sheets
// "Sheet1" ... holding one view each; every view's members draw every part
// of the assembly "C:\Work\Batch\Top.asm" (open, `partsPerSheet` parts at
// its top level in four colours, alternately by occurrence style and by
// body face style). No document is active and every draft brings only the
// style "Normal" that new styles are made from: the scene holds only what a
// batch needs, since the simulated host's memory grows with it.
//
// batchSheetScene: one draft of such a batch, open and active with its
// sheet `sheet` (1-based) active and nothing selected, as the window finds
// it when a user runs it on that sheet.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::scenegen {

nlohmann::json batchScene(int documents, int sheetsPerDocument, int partsPerSheet);

// The tool's arguments for the batch: every draft's path, in order.
std::vector<std::string> batchArguments(int documents);

// The path of draft `number` (1-based) of a batch.
std::string batchDocumentPath(int number);

nlohmann::json batchSheetScene(int sheetsPerDocument, int partsPerSheet, int sheet);

}  // namespace tav::scenegen

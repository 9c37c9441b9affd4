// The command-line tool over COM on a generated batch of alike Drafts
// (testbed/scene_generators/batch_scene.h), against the window run on the same sheets: the
// harness's `--cli --com` on the whole batch, and `--com --press process`
// on each distinct sheet of one Draft, with every round trip the server
// counted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/bench-com/round_trip_file.h"

namespace tav::benchcom {

struct BatchShape {
    int documents = 0;
    int sheetsPerDocument = 0;
    int partsPerSheet = 0;

    // "20x3x100": the stem of its files.
    std::string stem() const;
};

// "20x3x100" as documents, sheets per document and parts per sheet; nothing
// for text that is not one.
std::optional<BatchShape> batchShapeNamed(const std::string& text);

struct WindowSheetRun {
    int sheet = 0;  // 1-based
    double wallSeconds = 0;
    std::int64_t hostCalls = 0;
    std::string end;
    ServerRoundTrips server;
};

struct CliBatchRun {
    BatchShape shape;
    double wallSeconds = 0;
    std::int64_t hostCalls = 0;
    int exitCode = -1;
    ServerRoundTrips server;
    // The Open, Save and Close calls of the batch, counted from its events:
    // one Invoke each.
    std::int64_t opens = 0;
    std::int64_t saves = 0;
    std::int64_t closes = 0;
    // The window on each distinct sheet, once.
    std::vector<WindowSheetRun> sheets;

    std::int64_t documentCallRoundTrips() const { return opens + saves + closes; }
    // The batch's round trips, its Open, Save and Close calls aside.
    std::int64_t batchRoundTripsCompared() const;
    // Every document's sheets through the window: each distinct sheet's
    // round trips times the number of documents.
    std::int64_t windowRoundTrips() const;
    // The same for one kind of round trip.
    std::int64_t windowRoundTrips(const std::string& kind) const;
};

// Writes the scenes into `folder`, runs the harness from this program's
// folder on them and reads back what they gave. Raises std::runtime_error
// when a run fails or leaves no result or round trips.
CliBatchRun runCliBatch(const BatchShape& shape, const std::filesystem::path& folder);

void printCliBatchTables(std::ostream& out, const CliBatchRun& run);

}  // namespace tav::benchcom

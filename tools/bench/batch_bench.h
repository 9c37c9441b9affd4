// The batch benchmark: the command-line tool in process on generated batches
// of Drafts (testbed/scene_generators/batch_scene.h), each size in a process of its own, no
// host event kept. Prints a Markdown table and how much more memory the
// largest batch took than the smallest.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tav::bench {

struct BatchBenchOptions {
    std::vector<int> documents;
    int sheetsPerDocument = 3;
    int partsPerSheet = 10;
    int repeat = 3;
    std::filesystem::path work;  // where scenes and the tool's files go
};

// Returns the program's exit status: 0 when every batch ran to its end and
// saved every document.
int runBatchBenchmark(const BatchBenchOptions& options);

// The measuring process's side: runs the batch of `documents` drafts in
// SCENE with PROGRAM_FOLDER as the tool's folder and prints one line.
int measureOneBatch(const std::string& scene, int documents, const std::string& programFolder);

}  // namespace tav::bench

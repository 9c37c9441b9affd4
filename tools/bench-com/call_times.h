// A series of timed calls, summed up: the median and mean per call, how far
// single calls spread, and how far batches of calls drift apart (a machine
// that is busy for a while shows in the batches, not in the median).
#pragma once

#include <vector>

namespace tav::benchcom {

struct CallTimes {
    int calls = 0;
    int batchSize = 0;
    double medianMs = 0;
    double meanMs = 0;
    double p10Ms = 0;  // a tenth of the calls were faster
    double p90Ms = 0;  // a tenth of the calls were slower
    double fastestMs = 0;
    double slowestMs = 0;
    // The mean per call of the fastest and of the slowest batch of
    // `batchSize` calls in a row.
    double fastestBatchMs = 0;
    double slowestBatchMs = 0;
};

// `callMs`: each call's time in milliseconds, in the order they were made.
// Raises std::invalid_argument for no calls or a batch size below 1.
CallTimes summarize(const std::vector<double>& callMs, int batchSize);

}  // namespace tav::benchcom

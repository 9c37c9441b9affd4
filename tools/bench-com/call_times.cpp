#include "tools/bench-com/call_times.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace tav::benchcom {
namespace {

// The value below which `share` of the sorted values lie (nearest rank).
double percentile(const std::vector<double>& sorted, double share) {
    const double rank = share * static_cast<double>(sorted.size() - 1);
    return sorted[static_cast<std::size_t>(std::lround(rank))];
}

double median(const std::vector<double>& sorted) {
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

}  // namespace

CallTimes summarize(const std::vector<double>& callMs, int batchSize) {
    if (callMs.empty() || batchSize < 1) {
        throw std::invalid_argument("no calls to sum up");
    }
    CallTimes times;
    times.calls = static_cast<int>(callMs.size());
    times.batchSize = std::min(batchSize, times.calls);

    std::vector<double> sorted = callMs;
    std::sort(sorted.begin(), sorted.end());
    times.medianMs = median(sorted);
    times.meanMs =
        std::accumulate(sorted.begin(), sorted.end(), 0.0) / static_cast<double>(sorted.size());
    times.p10Ms = percentile(sorted, 0.1);
    times.p90Ms = percentile(sorted, 0.9);
    times.fastestMs = sorted.front();
    times.slowestMs = sorted.back();

    // Whole batches only: a short last batch would weigh a few calls as much
    // as a full one.
    const auto size = static_cast<std::size_t>(times.batchSize);
    std::vector<double> batchMeans;
    for (std::size_t start = 0; start + size <= callMs.size(); start += size) {
        const auto first = callMs.begin() + static_cast<std::ptrdiff_t>(start);
        batchMeans.push_back(
            std::accumulate(first, first + static_cast<std::ptrdiff_t>(size), 0.0) /
            static_cast<double>(size));
    }
    const auto [fastest, slowest] = std::minmax_element(batchMeans.begin(), batchMeans.end());
    times.fastestBatchMs = *fastest;
    times.slowestBatchMs = *slowest;
    return times;
}

}  // namespace tav::benchcom

// How the frame benchmarks and the direct-SDL peer time frames: process CPU (a renderer's own
// threads count), in milliseconds, a fixed number of frames per repetition, reported as the least
// of the repetitions. Header only: the peer links SDL and Google Benchmark alone.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace qa::bench {

// The least of the repetitions: the one least disturbed by whatever else the machine runs.
inline double leastOf(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

inline benchmark::internal::Benchmark* timeFrames(benchmark::internal::Benchmark* b, int frames,
                                                  int repetitions) {
    return b->Iterations(frames)
        ->Repetitions(repetitions)
        ->ComputeStatistics("min", leastOf)
        ->ReportAggregatesOnly(true)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
}

}  // namespace qa::bench

// CPU, wall and memory figures of a timing run.
#include "harness/BenchTimings.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace qa::bench {

namespace {

double cpuMs() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);  // every thread: the mixer's, and a software rasteriser's
    return (static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e6 +
            static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec)) *
           1e-3;
}

long maxRssKb() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

double msBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

BenchTimings::BenchTimings(int frames) : frames_(frames), from_(std::max(2, frames / 4)) {}

void BenchTimings::step(int frame) {
    if (frame == 2) {
        firstFrame_ = Wall::now();
        firstFrameUnixNs_ = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    }
    if (frame == from_) {
        fromWall_ = Wall::now();
        fromCpu_ = cpuMs();
    }
    if (frame == frames_) {
        toWall_ = Wall::now();
        toCpu_ = cpuMs();
    }
}

void BenchTimings::report() const {
    const int n = frames_ - from_;
    if (n <= 0) return;
    std::fprintf(stderr,
                 "quorvart-bench first_frame_unix_ns=%lld first_frame_ms=%.3f frames=%d "
                 "cpu_ms_per_frame=%.4f wall_ms_per_frame=%.4f max_rss_kb=%ld\n",
                 static_cast<long long>(firstFrameUnixNs_), msBetween(start_, firstFrame_), n,
                 (toCpu_ - fromCpu_) / n, msBetween(fromWall_, toWall_) / n, maxRssKb());
}

}  // namespace qa::bench

// The timings of a timing run of the program: when the first frame was presented, the CPU and wall
// time per frame over the frames after the first quarter of the run, and the peak resident set.
#pragma once

#include <chrono>

namespace qa::bench {

class BenchTimings {
  public:
    explicit BenchTimings(int frames);

    // Frame n's message step ends after frame n - 1 was presented.
    void step(int frame);
    // One line on the error output.
    void report() const;

  private:
    using Wall = std::chrono::steady_clock;

    int frames_;
    int from_;
    Wall::time_point start_ = Wall::now();
    Wall::time_point firstFrame_, fromWall_, toWall_;
    long long firstFrameUnixNs_ = 0;
    double fromCpu_ = 0, toCpu_ = 0;
};

}  // namespace qa::bench

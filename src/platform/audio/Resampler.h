// Band-limited rate conversion of interleaved stereo floats through libsoxr, at a fixed ratio.
#pragma once

#include <cstddef>
#include <memory>

struct soxr;

namespace qa::platform::audio {

class Resampler {
  public:
    // Null when the rates cannot be converted.
    static std::unique_ptr<Resampler> create(double inRate, double outRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Takes input frames (in == null: the input has ended, give out what is held) and gives
    // output frames; reports how many of each were used and made.
    void process(const float* in, std::size_t inFrames, std::size_t& inUsed, float* out,
                 std::size_t outFrames, std::size_t& outMade);
    // Forgets what it holds, for a fresh signal.
    void clear();
    // Output frames still held.
    double delay() const;

  private:
    explicit Resampler(soxr* s) : soxr_(s) {}
    soxr* soxr_;
};

}  // namespace qa::platform::audio

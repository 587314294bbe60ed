// Band-limited rate conversion of interleaved stereo floats at a fixed ratio: through libsoxr on the
// desktop, through SDL's audio stream in the page (web/Resampler.cpp), where libsoxr cannot run.
#pragma once

#include <cstddef>
#include <memory>

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
    struct Converter;  // the library's converter
    explicit Resampler(std::unique_ptr<Converter> converter);
    std::unique_ptr<Converter> converter_;
};

}  // namespace qa::platform::audio

// Reads a video file back through FFmpeg's libraries, for checking what was encoded: the times of
// its frames, chosen frames as ARGB pixels, and its sound as stereo floats at 44100 Hz.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qa::test {

class VideoReader {
  public:
    // Decodes the whole file; frames whose index is in `keep` are kept as pixels. False, with the
    // reason, when the file cannot be read.
    bool read(const std::string& path, const std::vector<int>& keep, std::string& error);

    std::string formatName;  // the demuxer's name ("mov,mp4,...", "matroska,webm")
    std::string videoCodec;  // "h264", "vp9"
    std::string audioCodec;  // "aac", "opus"
    int width = 0;
    int height = 0;
    int rateNum = 0, rateDen = 0;          // the video stream's declared average frame rate
    int baseRateNum = 0, baseRateDen = 0;  // and its base rate (what players take as its rate)
    std::vector<double> frameTimes;        // seconds, in decoding output order
    double lastFrameEnd = 0;               // end of the last frame, in seconds
    std::map<int, std::vector<std::uint32_t>> frames;
    std::vector<float> sound;  // interleaved stereo at 44100 Hz
    double soundStart = 0;     // time of the first decoded sound sample, in seconds
    int soundRate = 0;         // the codec's own rate

    // Peak signal-to-noise ratio of two ARGB pictures of the same size over their colour channels,
    // in dB (99 when equal, 0 when the sizes differ).
    static double psnr(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);
};

}  // namespace qa::test

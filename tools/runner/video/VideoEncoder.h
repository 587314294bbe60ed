// Encodes frames of 32-bit ARGB pixels and their stereo sound into one video file through FFmpeg's
// libraries: H.264 with AAC in .mp4 and .mkv, VP9 with Opus in .webm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qa::runner {

enum class VideoQuality {
    Fast,   // quick to encode, larger files
    Small,  // slower to encode, smaller files
};

class VideoEncoder {
  public:
    static constexpr int kAudioRate = 44100;  // the sound given to addAudio: stereo floats at this rate

    VideoEncoder();
    // Without a successful finish() the partial file is removed.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Starts a video of width x height pixels at rateNum / rateDen frames per second (1000 / 16
    // for frames of 16 ms). The container and codecs follow the extension of `path`. The file is
    // written beside `path` under a temporary name and takes its name only when finish() succeeds.
    // False, with the reason in error(), when it cannot start.
    bool open(const std::string& path, int width, int height, int rateNum, int rateDen, VideoQuality quality);
    // One frame: width x height pixels, row by row, each 0xAARRGGBB (the alpha is ignored).
    bool addFrame(const std::uint32_t* argb);
    // Sound: `frames` stereo frames of two floats (left, right) at kAudioRate, in order; the sound
    // of each video frame is expected as it is played, so picture and sound share one clock.
    bool addAudio(const float* interleaved, std::size_t frames);
    // Flushes the encoders, completes the file and gives it its name. False, with the reason,
    // when that fails; the partial file is then removed.
    bool finish();
    // Stops and removes the partial file.
    void abort();

    const std::string& error() const { return error_; }
    std::int64_t framesWritten() const;

    // The frame rate of frames `ms` milliseconds long, given as a decimal ("16", "16.667"), as an
    // exact fraction in lowest terms: 16.667 ms gives 1000000 / 16667. False when the text is not a
    // positive number of milliseconds with at most six decimals.
    static bool frameRateFromMs(const std::string& ms, int& rateNum, int& rateDen);
    // A frame rate given in frames a second, as an exact fraction in lowest terms: a whole number
    // ("60", "25"), a fraction ("60000/1001"), or a decimal ("12.5"). A decimal that is one of the
    // television rates a thousandth below a whole rate, rounded as written (59.94, 29.97, 23.976,
    // 119.88), is that exact rate: 59.94 gives 60000 / 1001. False for anything else.
    static bool frameRateFromFps(const std::string& fps, int& rateNum, int& rateDen);

  private:
    struct State;
    struct Container;
    static bool containerFor(const std::string& path, Container& out);
    // The parts of open(), in order; each says why it fails through fail().
    bool openContainer(const Container& container);
    bool openVideo(const Container& container, int rateNum, int rateDen, VideoQuality quality);
    bool openAudio(const Container& container);
    bool makeBuffers();
    bool openFile();
    bool fail(const std::string& what, int averror);
    bool encodeVideo(bool flush);
    bool encodeAudio(bool flush);
    bool drain(bool video);
    void cleanUp();

    std::unique_ptr<State> s_;
    std::string error_;
};

}  // namespace qa::runner

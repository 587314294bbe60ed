// Sound fixtures and measurements.
#include "support/AudioFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "runner/WavFileWriter.h"

namespace qa::test {

std::vector<float> sineFrames(double frequency, int rate, std::size_t frames, int channels, float amplitude) {
    std::vector<float> out(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const float v =
            amplitude * static_cast<float>(std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / rate));
        for (int c = 0; c < channels; ++c) out[i * channels + c] = v;
    }
    return out;
}

bool writeWav(const std::string& path, const std::vector<float>& frames, int rate, int channels) {
    runner::WavFileWriter w(path, rate, channels);
    return w.ok() && w.write(frames.data(), frames.size() / static_cast<std::size_t>(channels)) && w.close();
}

bool encodeOgg(const std::string& wavPath, const std::string& oggPath) {
    const std::string cmd = "oggenc --quiet -q 6 -o '" + oggPath + "' '" + wavPath + "' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

bool encodeMp3(const std::string& wavPath, const std::string& mp3Path) {
    const std::string cmd = "lame --quiet -b 192 '" + wavPath + "' '" + mp3Path + "' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

double rms(const std::vector<float>& stereo, int channel, std::size_t from, std::size_t to) {
    to = std::min(to, stereo.size() / 2);
    if (from >= to) return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(stereo[2 * i + channel]) * stereo[2 * i + channel];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double peak(const std::vector<float>& stereo, int channel, std::size_t from, std::size_t to) {
    to = std::min(to, stereo.size() / 2);
    double p = 0.0;
    for (std::size_t i = from; i < to; ++i)
        p = std::max(p, std::fabs(static_cast<double>(stereo[2 * i + channel])));
    return p;
}

double toneFrequency(const std::vector<float>& stereo, int channel, int rate) {
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = 1; i < stereo.size() / 2; ++i) {
        const double a = stereo[2 * (i - 1) + channel], b = stereo[2 * i + channel];
        if (a < 0.0 && b >= 0.0) {
            const double t = static_cast<double>(i - 1) + a / (a - b);  // where the line crosses zero
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) * static_cast<double>(rate) / (last - first);
}

}  // namespace qa::test

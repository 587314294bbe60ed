// Sound fixtures made by the tests themselves (tones and ramps, WAV through the platform's writer,
// Ogg and MP3 through the encoder tools) and measurements of mixed sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qa::test {

// `frames` frames of a sine wave in `channels` interleaved channels.
std::vector<float> sineFrames(double frequency, int rate, std::size_t frames, int channels, float amplitude);
bool writeWav(const std::string& path, const std::vector<float>& frames, int rate, int channels);
// Encodes a WAV file with oggenc or lame; false when the tool fails.
bool encodeOgg(const std::string& wavPath, const std::string& oggPath);
bool encodeMp3(const std::string& wavPath, const std::string& mp3Path);

// One channel (0 left, 1 right) of interleaved stereo.
double rms(const std::vector<float>& stereo, int channel, std::size_t from = 0, std::size_t to = SIZE_MAX);
double peak(const std::vector<float>& stereo, int channel, std::size_t from = 0, std::size_t to = SIZE_MAX);
// The frequency of a tone from its rising zero crossings.
double toneFrequency(const std::vector<float>& stereo, int channel, int rate);

}  // namespace qa::test

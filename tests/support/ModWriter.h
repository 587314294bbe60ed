// Writes four-channel tracker modules ("M.K." layout) for tests: a 20-byte title, 31 sample headers,
// the order table, 64-row patterns and signed 8-bit sample data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qa::test {

struct ModNote {
    int sample = 0;  // 1 to 31; 0 = none
    int period = 0;  // Amiga period; 0 = no note (428 is C-2)
    int effect = 0;  // 0 to 15
    int parameter = 0;
};

struct ModSample {
    std::string name;
    std::vector<std::int8_t> data;  // an even number of bytes
    int volume = 64;                // 0 to 64
    std::size_t loopStart = 0;      // bytes, even
    std::size_t loopLength = 0;     // bytes, even; 0 = no loop
};

class ModWriter {
  public:
    static constexpr int kRows = 64;
    static constexpr int kChannels = 4;
    using Pattern = std::array<std::array<ModNote, kChannels>, kRows>;

    std::string title;
    std::vector<ModSample> samples;  // at most 31
    std::vector<Pattern> patterns;
    std::vector<int> orders;  // pattern numbers, at most 128
    int restart = 127;

    std::string bytes() const;
    bool writeTo(const std::string& path) const;

    // A song of `orderCount` orders; each plays a looped sine tone for `rows` rows at `speed` ticks
    // a row (the default tempo: 20 ms a tick), so it lasts toneSongSeconds().
    static ModWriter toneSong(int orderCount, int rows, int speed);
    static double toneSongSeconds(int orderCount, int rows, int speed) {
        return orderCount * rows * speed * 0.02;
    }
};

}  // namespace qa::test

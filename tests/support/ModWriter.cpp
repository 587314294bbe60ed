// Module writing.
#include "support/ModWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace qa::test {

namespace {

void putWord(std::string& out, std::size_t value) {
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
    out.push_back(static_cast<char>(value & 0xFF));
}

void putText(std::string& out, const std::string& text, std::size_t size) {
    std::string t = text.substr(0, size);
    t.resize(size, '\0');
    out += t;
}

}  // namespace

std::string ModWriter::bytes() const {
    std::string out;
    putText(out, title, 20);
    for (int i = 0; i < 31; ++i) {
        ModSample empty;
        empty.volume = 0;
        const ModSample& s = i < static_cast<int>(samples.size()) ? samples[i] : empty;
        putText(out, s.name, 22);
        putWord(out, s.data.size() / 2);  // lengths count 16-bit words, big-endian
        out.push_back(0);                 // finetune
        out.push_back(static_cast<char>(s.volume));
        putWord(out, s.loopStart / 2);
        putWord(out, s.loopLength > 0 ? s.loopLength / 2 : 1);  // one word means "no loop"
    }
    out.push_back(static_cast<char>(orders.size()));
    out.push_back(static_cast<char>(restart));
    int highest = 0;
    for (int i = 0; i < 128; ++i) {
        const int p = i < static_cast<int>(orders.size()) ? orders[i] : 0;
        highest = std::max(highest, p);
        out.push_back(static_cast<char>(p));
    }
    out += "M.K.";
    for (int p = 0; p <= highest; ++p) {
        const Pattern empty{};
        const Pattern& pattern = p < static_cast<int>(patterns.size()) ? patterns[p] : empty;
        for (const auto& row : pattern) {
            for (const ModNote& n : row) {
                out.push_back(static_cast<char>((n.sample & 0xF0) | ((n.period >> 8) & 0x0F)));
                out.push_back(static_cast<char>(n.period & 0xFF));
                out.push_back(static_cast<char>(((n.sample & 0x0F) << 4) | (n.effect & 0x0F)));
                out.push_back(static_cast<char>(n.parameter & 0xFF));
            }
        }
    }
    for (const ModSample& s : samples)
        out.append(reinterpret_cast<const char*>(s.data.data()), s.data.size());
    return out;
}

bool ModWriter::writeTo(const std::string& path) const {
    std::ofstream f(path, std::ios::binary);
    const std::string b = bytes();
    f.write(b.data(), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(f);
}

ModWriter ModWriter::toneSong(int orderCount, int rows, int speed) {
    ModWriter m;
    m.title = "test tone";
    ModSample tone;
    tone.name = "sine";
    for (int i = 0; i < 128; ++i)  // four cycles of 32 bytes, looped whole
        tone.data.push_back(static_cast<std::int8_t>(std::lround(100.0 * std::sin(2.0 * M_PI * i / 32.0))));
    tone.loopStart = 0;
    tone.loopLength = tone.data.size();
    m.samples.push_back(tone);
    for (int o = 0; o < orderCount; ++o) {
        Pattern p{};
        p[0][0] = ModNote{1, 428, 0xF, speed};
        if (rows < kRows) p[rows - 1][1] = ModNote{0, 0, 0xD, 0};  // break to the next order
        m.patterns.push_back(p);
        m.orders.push_back(o);
    }
    return m;
}

}  // namespace qa::test

// The lines of a laid-out text as places in the text: four bytes a line, whatever its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qa::scene {

class TextLines {
  public:
    // Lines follow one another in the text: each starts where the one before ends, or one byte
    // later when that one ends in a carriage return whose line feed belongs to no line.
    void clear() {
        starts_.clear();
        end_ = 0;
    }
    // Appends a line starting at `start` (it ends where the next one starts, or at the end given
    // to finish()). `dropsLineFeed`: the byte before the next line's start is not part of this one.
    void add(std::size_t start, bool dropsLineFeed) {
        starts_.push_back(static_cast<std::uint32_t>(start) | (dropsLineFeed ? kDropsLineFeed : 0u));
    }
    // Where the last line ends.
    void finish(std::size_t end) { end_ = static_cast<std::uint32_t>(end); }

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    // Line k of `text` (the text it was laid out from).
    std::string_view line(const std::string& text, std::size_t k) const {
        const std::uint32_t start = starts_[k] & ~kDropsLineFeed;
        std::uint32_t end = k + 1 < starts_.size() ? starts_[k + 1] & ~kDropsLineFeed : end_;
        if (starts_[k] & kDropsLineFeed) --end;
        return std::string_view(text).substr(start, end - start);
    }
    // Every line as its own string (for tests and the checker's comparisons).
    std::vector<std::string> copies(const std::string& text) const {
        std::vector<std::string> out;
        out.reserve(size());
        for (std::size_t k = 0; k < size(); ++k) out.emplace_back(line(text, k));
        return out;
    }

    // Texts up to this many bytes can be laid out (one bit of a place marks the dropped line feed).
    static constexpr std::size_t kMaxTextBytes = 0x7FFFFFFFu;

  private:
    static constexpr std::uint32_t kDropsLineFeed = 0x80000000u;
    std::vector<std::uint32_t> starts_;
    std::uint32_t end_ = 0;
};

}  // namespace qa::scene

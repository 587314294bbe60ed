// A tracker module through libopenmpt: rendered at any rate, with repeat count, tempo factor and
// order positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/file/InputStream.h"

struct openmpt_module;

namespace qa::platform::audio {

class OpenMptModule {
  public:
    // Null when libopenmpt does not recognise the file; the file is read through from its start.
    static std::unique_ptr<OpenMptModule> load(InputStream& file);
    // Whether libopenmpt recognises the file by its first bytes (read from its start), without
    // loading it.
    static bool probe(InputStream& file);
    ~OpenMptModule();
    OpenMptModule(const OpenMptModule&) = delete;
    OpenMptModule& operator=(const OpenMptModule&) = delete;

    // Up to `frames` interleaved stereo frames at `rate`; fewer only at the end of the song.
    std::size_t read(int rate, std::size_t frames, float* out);
    // -1 repeats for ever; 0 plays once.
    void setRepeatCount(int count);
    // 1.0 is the song's own tempo; false for values the library does not take.
    bool setTempoFactor(double factor);
    int orderCount() const;
    int currentOrder() const;
    bool setOrder(int order);
    // Back to the start of the song, ready to play it again after it ended.
    void rewind();

  private:
    explicit OpenMptModule(openmpt_module* module) : module_(module) {}
    openmpt_module* module_;
};

}  // namespace qa::platform::audio

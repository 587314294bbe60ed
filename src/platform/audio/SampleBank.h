// The sound library's samples: sounds decoded whole into memory (once per file, whatever spelling
// names it), each sample's defaults and mode, and playing them on channels, each under the
// library's lock.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/audio/HandleTable.h"
#include "platform/audio/LibraryCore.h"
#include "platform/audio/SampleData.h"
#include "platform/audio/StreamBank.h"

namespace qa::platform::audio {

class SampleBank {
  public:
    // `streams` learns of channels a sample takes from a stream.
    SampleBank(LibraryCore& core, StreamBank& streams)
        : core_(core), streams_(streams), samples_(core.lastId) {}

    SampleHandle load(int index, const char* path, unsigned mode, int offset);
    bool defaults(SampleHandle handle, int* frequency, int* volume, int* pan, int* priority);
    bool setMode(SampleHandle handle, unsigned mode);
    unsigned length(SampleHandle handle);
    bool free(SampleHandle handle);
    // The channel it plays on, or -1.
    int play(int channel, SampleHandle handle);

    // The most that the sounds held may take decoded (each file counted once); a sample beyond it
    // is not loaded (a memory failure, and a line on standard error).
    static constexpr std::uint64_t kBudgetBytes = 1ull << 30;
    std::uint64_t heldBytes() const { return heldBytes_; }

  private:
    // Under the lock: the decoded sound of the file a key names, if one is held and the file has
    // not changed since.
    std::shared_ptr<DecodedSound> heldSound(const std::string& fileKey, const FileStamp& stamp) const;
    // Under the lock: a new sample of a decoded sound.
    SampleHandle adopt(const std::shared_ptr<DecodedSound>& sound, bool loop);

    LibraryCore& core_;
    StreamBank& streams_;
    HandleTable<SampleData, SampleHandle> samples_;
    std::unordered_map<std::string, std::shared_ptr<DecodedSound>> sounds_;  // by file key, under the lock
    std::uint64_t heldBytes_ = 0;                                            // under the library's lock
};

}  // namespace qa::platform::audio

// The process's sound library: an installed one, or the real one made on first use.
#include "platform/audio/SoundLibrary.h"

#include <atomic>

#include "platform/audio/SoftwareSoundLibrary.h"

namespace qa::platform::audio {

namespace {
// Read from the stream end notification's thread as well as the main thread.
std::atomic<SoundLibrary*> installed{nullptr};
}  // namespace

SoundLibrary& soundLibrary() {
    if (SoundLibrary* library = installed.load(std::memory_order_acquire)) return *library;
    static SoftwareSoundLibrary real(OutputKind::Device);
    return real;
}

SoundLibrary* installSoundLibrary(SoundLibrary* library) {
    return installed.exchange(library, std::memory_order_acq_rel);
}

}  // namespace qa::platform::audio

// Installs a sound library for the lifetime of a scope (the runner's, or a test's stand-in) and puts
// back the one installed before.
#pragma once

#include "platform/audio/SoundLibrary.h"

namespace qa::platform::audio {

class ScopedSoundLibrary {
  public:
    explicit ScopedSoundLibrary(SoundLibrary& library) : previous_(installSoundLibrary(&library)) {}
    ~ScopedSoundLibrary() { installSoundLibrary(previous_); }
    ScopedSoundLibrary(const ScopedSoundLibrary&) = delete;
    ScopedSoundLibrary& operator=(const ScopedSoundLibrary&) = delete;

  private:
    SoundLibrary* previous_;
};

}  // namespace qa::platform::audio

// The sound library's last-error codes, as FSOUND_GetError reports them.
#pragma once

namespace qa::platform::audio {

enum SoundError : int {
    kErrNone = 0,
    kErrAfterInit = 1,
    kErrNotInitialised = 2,
    kErrOutputInit = 3,
    kErrPlay = 5,
    kErrFileNotFound = 9,
    kErrFileFormat = 10,
    kErrFileLoad = 11,
    kErrMemory = 12,
    kErrInvalidParameter = 14,
    kErrChannelAlloc = 16,
};

}  // namespace qa::platform::audio

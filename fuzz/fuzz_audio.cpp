// Sound files of random bytes through the sound library: loaded as a tracker module, opened as a
// stream and loaded as a sample with each looping mode, played, moved about, and mixed for a moment
// on the pull output. The first byte picks the file name's extension and a few play settings.
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzDisk.h"
#include "platform/audio/SoftwareSoundLibrary.h"

namespace {

using namespace qa::platform::audio;

constexpr std::size_t kPullFrames = 2048;

SoftwareSoundLibrary& library() {
    static SoftwareSoundLibrary* lib = [] {
        auto* l = new SoftwareSoundLibrary(OutputKind::Pull);
        if (!l->FSOUND_Init(44100, 32, 0)) std::abort();
        return l;
    }();
    return *lib;
}

void pull() {
    static std::vector<float> buffer(2 * kPullFrames);
    library().pull(buffer.data(), kPullFrames);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qa::fuzz::FuzzDisk::root();
    SoftwareSoundLibrary& lib = library();
    if (size == 0) return 0;
    const std::uint8_t control = data[0];
    static const char* const kExtensions[] = {".mod", ".xm", ".s3m", ".it", ".mp3", ".ogg", ".wav", ".flac"};
    const std::string name = std::string("sound") + kExtensions[control % std::size(kExtensions)];
    qa::fuzz::FuzzDisk::write(name, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    const char* path = name.c_str();
    const unsigned modes[] = {kModeLoopOff, kModeLoopNormal};

    if (ModuleHandle m = lib.FMUSIC_LoadSong(path)) {
        lib.FMUSIC_SetLooping(m, (control & 0x10) != 0);
        lib.FMUSIC_PlaySong(m);
        pull();
        lib.FMUSIC_SetOrder(m, lib.FMUSIC_GetNumOrders(m) / 2);
        lib.FMUSIC_SetMasterSpeed(m, (control & 0x20) ? 2.5f : 0.5f);
        lib.FMUSIC_SetMasterVolume(m, 200);
        pull();
        lib.FMUSIC_GetTime(m);
        lib.FMUSIC_StopSong(m);
        lib.FMUSIC_FreeSong(m);
    }

    for (unsigned mode : modes) {
        if (StreamHandle s = lib.FSOUND_Stream_OpenFile(path, mode, 0)) {
            lib.FSOUND_Stream_SetLoopCount(s, (control & 0x40) ? 1 : -1);
            const int channel = lib.FSOUND_Stream_Play(kAnyChannel, s);
            lib.FSOUND_SetFrequency(channel, (control & 0x80) ? 96000 : 8000);
            pull();
            lib.FSOUND_Stream_SetPosition(s, lib.FSOUND_Stream_GetPosition(s) / 2 + 1);
            pull();
            lib.FSOUND_Stream_Stop(s);
            lib.FSOUND_Stream_Play(kAnyChannel, s);
            pull();
            lib.FSOUND_Stream_Close(s);
        }
    }

    for (unsigned mode : modes) {
        if (SampleHandle s = lib.FSOUND_Sample_Load(-1, path, mode, 0)) {
            int frequency = 0, volume = 0, pan = 0, priority = 0;
            lib.FSOUND_Sample_GetDefaults(s, &frequency, &volume, &pan, &priority);
            const unsigned length = lib.FSOUND_Sample_GetLength(s);
            const int channel = lib.FSOUND_PlaySound(kAnyChannel, s);
            lib.FSOUND_SetFrequency(channel, frequency > 0 ? frequency * 3 : 1);
            lib.FSOUND_SetCurrentPosition(channel, length > 0 ? length - 1 : 0);
            lib.FSOUND_SetLoopMode(channel, mode);
            pull();
            lib.FSOUND_StopSound(channel);
            lib.FSOUND_PlaySound(kAnyChannel, s);
            pull();
            lib.FSOUND_Sample_Free(s);
        }
    }
    return 0;
}

// SDL audio device output.
#include "platform/audio/sdl/SdlOutput.h"

#include <SDL.h>

#include <cstring>

#include "platform/audio/SoundLibrary.h"
#include "platform/audio/sdl/SdlAudioDevice.h"

namespace qa::platform::audio {

namespace {

// Mixed ahead of the device: about 46 ms at 44100 Hz, on top of the device's own buffer.
constexpr std::size_t kTargetFrames = 2048;

// The output-method number for SDL's driver: its own number where the driver is one of the known
// kinds, the sound-server number for the desktop sound servers.
int methodFor(const char* driver) {
    if (!driver) return kOutputNoSound;
    if (std::strcmp(driver, "alsa") == 0) return kOutputAlsa;
    if (std::strcmp(driver, "dsp") == 0) return kOutputOss;
    if (std::strcmp(driver, "pulseaudio") == 0 || std::strcmp(driver, "pipewire") == 0 ||
        std::strcmp(driver, "jack") == 0 || std::strcmp(driver, "esd") == 0 ||
        std::strcmp(driver, "arts") == 0 || std::strcmp(driver, "nas") == 0 ||
        std::strcmp(driver, "sndio") == 0)
        return kOutputSoundServer;
    if (std::strcmp(driver, "winmm") == 0) return kOutputWaveOut;
    if (std::strcmp(driver, "directsound") == 0 || std::strcmp(driver, "wasapi") == 0) return kOutputDirect;
    return kOutputNoSound;  // dummy and disk: nothing is heard
}

}  // namespace

SdlOutput::SdlOutput() : ring_(8192) {}

bool SdlOutput::start(RenderSource& source, int rate) {
    stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    device_ = openSdlAudioDevice(rate, 1024, &SdlOutput::callback, this);
    // Without a device SDL's audio stays initialised until stop(): quitting it waits for SDL's
    // device-watching thread (up to a tenth of a second), which start-up should not pay.
    if (device_ == 0) return false;
    method_ = methodFor(SDL_GetCurrentAudioDriver());
    mixer_.start(source, ring_, kTargetFrames);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlOutput::stop() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for a callback in progress
        device_ = 0;
    }
    mixer_.stop();
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

void SdlOutput::callback(void* self, std::uint8_t* stream, int bytes) {
    auto* out = static_cast<SdlOutput*>(self);
    const std::size_t frames = static_cast<std::size_t>(bytes) / (2 * sizeof(float));
    float* samples = reinterpret_cast<float*>(stream);
    const std::size_t got = out->ring_.read(samples, frames);
    out->mixer_.consumed();
    if (got < frames) {
        std::memset(samples + 2 * got, 0, (frames - got) * 2 * sizeof(float));
        out->underruns_.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace qa::platform::audio

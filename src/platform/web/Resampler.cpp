// Rate conversion in the page through SDL's audio stream (libsoxr does not run there): every input
// frame is taken at once and converted output is handed out as there is room for it.
#include "platform/audio/Resampler.h"

#include <SDL.h>

namespace qa::platform::audio {

namespace {
constexpr int kFrameBytes = 2 * static_cast<int>(sizeof(float));
}  // namespace

struct Resampler::Converter {
    explicit Converter(SDL_AudioStream* s) : stream(s) {}
    ~Converter() { SDL_FreeAudioStream(stream); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    SDL_AudioStream* stream;
    bool flushed = false;  // the input has ended and what was held is given out
};

Resampler::Resampler(std::unique_ptr<Converter> converter) : converter_(std::move(converter)) {}

std::unique_ptr<Resampler> Resampler::create(double inRate, double outRate) {
    if (!(inRate >= 1.0) || !(outRate >= 1.0) || inRate > 1e6 || outRate > 1e6) return nullptr;
    SDL_AudioStream* s = SDL_NewAudioStream(AUDIO_F32SYS, 2, static_cast<int>(inRate), AUDIO_F32SYS, 2,
                                            static_cast<int>(outRate));
    if (!s) return nullptr;
    auto converter = std::make_unique<Converter>(s);
    return std::unique_ptr<Resampler>(new Resampler(std::move(converter)));
}

Resampler::~Resampler() = default;

void Resampler::process(const float* in, std::size_t inFrames, std::size_t& inUsed, float* out,
                        std::size_t outFrames, std::size_t& outMade) {
    inUsed = 0;
    outMade = 0;
    Converter& c = *converter_;
    if (in && inFrames > 0) {
        // A failed conversion drops the input rather than stalling the channel.
        inUsed = inFrames;
        c.flushed = false;
        if (SDL_AudioStreamPut(c.stream, in, static_cast<int>(inFrames) * kFrameBytes) != 0) return;
    } else if (!c.flushed) {
        SDL_AudioStreamFlush(c.stream);
        c.flushed = true;
    }
    const int got = SDL_AudioStreamGet(c.stream, out, static_cast<int>(outFrames) * kFrameBytes);
    if (got > 0) outMade = static_cast<std::size_t>(got / kFrameBytes);
}

void Resampler::clear() {
    SDL_AudioStreamClear(converter_->stream);
    converter_->flushed = false;
}

double Resampler::delay() const {
    return SDL_AudioStreamAvailable(converter_->stream) / kFrameBytes;
}

}  // namespace qa::platform::audio

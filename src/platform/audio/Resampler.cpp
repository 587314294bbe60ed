// libsoxr behind RAII; high quality (20-bit, steep low-pass).
#include "platform/audio/Resampler.h"

#include <soxr.h>

namespace qa::platform::audio {

struct Resampler::Converter {
    explicit Converter(soxr_t s) : soxr(s) {}
    ~Converter() { soxr_delete(soxr); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    soxr_t soxr;
};

Resampler::Resampler(std::unique_ptr<Converter> converter) : converter_(std::move(converter)) {}

std::unique_ptr<Resampler> Resampler::create(double inRate, double outRate) {
    if (!(inRate > 0.0) || !(outRate > 0.0)) return nullptr;
    soxr_error_t error = nullptr;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_t s = soxr_create(inRate, outRate, 2, &error, &io, &quality, nullptr);
    if (!s || error) {
        if (s) soxr_delete(s);
        return nullptr;
    }
    return std::unique_ptr<Resampler>(new Resampler(std::make_unique<Converter>(s)));
}

Resampler::~Resampler() = default;

void Resampler::process(const float* in, std::size_t inFrames, std::size_t& inUsed, float* out,
                        std::size_t outFrames, std::size_t& outMade) {
    inUsed = 0;
    outMade = 0;
    if (soxr_process(converter_->soxr, in, in ? inFrames : 0, in ? &inUsed : nullptr, out, outFrames,
                     &outMade) != nullptr) {
        inUsed = inFrames;  // a failed conversion drops the input rather than stalling the channel
        outMade = 0;
    }
}

void Resampler::clear() {
    soxr_clear(converter_->soxr);
}

double Resampler::delay() const {
    return soxr_delay(converter_->soxr);
}

}  // namespace qa::platform::audio

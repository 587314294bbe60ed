// Frames of random sprite draws (pictures, places, scales, mirrors, colours, order, pictures freed
// mid-frame) on the headless device: every frame the device draws in part is drawn again in full
// and compared pixel for pixel; any difference stops the run.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/SdlTexture.h"
#include "platform/gfx/sdl/SurfaceDevice.h"

namespace {

using namespace qa::platform;
using namespace qa::platform::gfx;
using qa::Matrix;
using qa::Vec3;

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t word() {
        return static_cast<std::uint32_t>(next()) << 24 | next() << 16 | next() << 8 | next();
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::shared_ptr<SdlTexture> picture(SurfaceDevice& device, Bytes& in) {
    const int w = 1 + in.next() % 40, h = 1 + in.next() % 40;
    const std::uint32_t seed = in.word();
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::uint32_t x = seed | 1;
    for (std::uint32_t& p : argb) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        const std::uint32_t alpha[] = {0, 0xFF000000u, 0x80000000u, x & 0xFF000000u};
        p = alpha[x >> 30] | (x & 0xFFFFFFu);
    }
    return std::make_shared<SdlTexture>(&device, w, h, kFormatA8R8G8B8, std::move(argb));
}

struct Draw {
    std::uint8_t picture = 0;
    float x = 0, y = 0, sx = 1, sy = 1;
    std::uint32_t colour = 0xFFFFFFFFu;
    Rect source{};
    bool whole = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<SurfaceDevice> device = SurfaceDevice::create(96, 64);
    if (!device) std::abort();
    device->setVerifyDrawing(true);
    std::unique_ptr<Sprite> sprite = device->createSprite();
    Bytes in(data, size);
    std::vector<std::shared_ptr<SdlTexture>> pictures;
    for (int i = 0, n = 1 + in.next() % 4; i < n; ++i) pictures.push_back(picture(*device, in));
    std::vector<Draw> draws(in.next() % 12);
    for (int frame = 0; frame < 40 && in.more(); ++frame) {
        // Changes to this frame's draws, one byte each, until a zero byte.
        for (std::uint8_t op = in.next(); op != 0 && in.more(); op = in.next()) {
            if (draws.empty()) draws.emplace_back();
            Draw& d = draws[in.next() % draws.size()];
            switch (op % 9) {
                case 0:
                    d.x += static_cast<std::int8_t>(in.next());
                    break;
                case 1:
                    d.y += static_cast<std::int8_t>(in.next());
                    break;
                case 2:
                    d.sx = static_cast<float>(static_cast<std::int8_t>(in.next())) / 16;
                    break;
                case 3:
                    d.sy = static_cast<float>(static_cast<std::int8_t>(in.next())) / 16;
                    break;
                case 4:
                    d.colour = in.word();
                    break;
                case 5:
                    d.picture = in.next();
                    break;
                case 6:
                    d.whole = false;
                    d.source = {in.next() % 50 - 5, in.next() % 50 - 5, in.next() % 50 - 5,
                                in.next() % 50 - 5};
                    break;
                case 7:
                    std::swap(d, draws[in.next() % draws.size()]);
                    break;
                default:
                    if (in.next() % 2)
                        draws.erase(draws.begin() + static_cast<long>(&d - draws.data()));
                    else
                        draws.emplace_back();
                    break;
            }
        }
        device->clear(kClearTarget, in.next() % 8 == 0 ? 0xFF203040u : 0xFF000000u, 1, 0);
        device->beginScene();
        sprite->begin(in.next() % 16 ? kSpriteAlphaBlend : 0);
        for (const Draw& d : draws) {
            const Vec3 s{d.sx, d.sy, 1}, at{d.x, d.y, 0};
            sprite->setTransform(Matrix::transformation(&s, &at));
            sprite->draw(pictures[d.picture % pictures.size()].get(), d.whole ? nullptr : &d.source, nullptr,
                         nullptr, d.colour);
        }
        sprite->end();
        // Sometimes a picture is replaced before the frame ends.
        if (in.next() % 8 == 0) pictures[in.next() % pictures.size()] = picture(*device, in);
        device->endScene();
        device->present();
    }
    if (device->drawMismatches() != 0) std::abort();
    return 0;
}

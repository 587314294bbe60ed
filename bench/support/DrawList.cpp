// Recording a frame's copies.
#include "support/DrawList.h"

#include <cstdio>
#include <fstream>

#include "platform/gfx/PixelTexture.h"
#include "platform/gfx/SpritePlacement.h"

namespace qa::bench {

using namespace platform::gfx;

bool RecordingSprite::begin(std::uint32_t flags) {
    blend_ = (flags & kSpriteAlphaBlend) != 0;
    return real_.begin(flags);
}

bool RecordingSprite::setTransform(const Matrix& transform) {
    transform_ = transform;
    return real_.setTransform(transform);
}

bool RecordingSprite::draw(Texture* texture, const Rect* source, const Vec3* centre, const Vec3* position,
                           std::uint32_t colour) {
    // The same copies as the SDL sprite makes: nothing for a fully transparent blended draw.
    auto* picture = dynamic_cast<PixelTexture*>(texture);
    if (picture && !(blend_ && (colour >> 24) == 0)) {
        const std::vector<SpritePiece> pieces =
            SpritePlacement::place(picture->width(), picture->height(), source, centre, position, transform_,
                                   viewWidth_, viewHeight_);
        if (!pieces.empty()) {
            auto [it, added] = index_.emplace(picture, static_cast<int>(pictures_.size()));
            if (added) pictures_.push_back({picture->width(), picture->height(), picture->pixels()});
            for (const SpritePiece& p : pieces) {
                frames_.back().push_back({it->second, p.srcX, p.srcY, p.srcW, p.srcH, p.dstX, p.dstY, p.dstW,
                                          p.dstH, colour, blend_, p.flipX, p.flipY});
            }
        }
    }
    return real_.draw(texture, source, centre, position, colour);
}

double RecordingSprite::copies() const {
    double sum = 0;
    for (const std::vector<Copy>& frame : frames_) sum += static_cast<double>(frame.size());
    return sum / static_cast<double>(frames_.size());
}

double RecordingSprite::pixels() const {
    double sum = 0;
    for (const std::vector<Copy>& frame : frames_) {
        for (const Copy& c : frame) sum += static_cast<double>(c.dw) * static_cast<double>(c.dh);
    }
    return sum / static_cast<double>(frames_.size());
}

bool RecordingSprite::write(const std::filesystem::path& dir) const {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::ofstream list(dir / "drawlist.txt");
    list << "textures " << pictures_.size() << "\n";
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tex%03zu.argb", i);
        const Picture& p = pictures_[i];
        std::ofstream pixels(dir / name, std::ios::binary);
        pixels.write(reinterpret_cast<const char*>(p.argb.data()),
                     static_cast<std::streamsize>(p.argb.size() * sizeof(std::uint32_t)));
        if (!pixels) return false;
        list << i << " " << p.width << " " << p.height << " " << name << "\n";
    }
    for (const std::vector<Copy>& frame : frames_) {
        list << "copies " << frame.size() << "\n";
        for (const Copy& c : frame) {
            char colour[16];
            std::snprintf(colour, sizeof colour, "%08X", static_cast<unsigned>(c.colour));
            list << c.texture << " " << c.sx << " " << c.sy << " " << c.sw << " " << c.sh << " " << c.dx
                 << " " << c.dy << " " << c.dw << " " << c.dh << " " << colour << " " << c.blend << " "
                 << c.flipX << " " << c.flipY << "\n";
        }
    }
    return static_cast<bool>(list);
}

}  // namespace qa::bench

// The copies that frames make, written down so that a program calling SDL directly can make the
// same ones: a sprite that passes every draw on to the real sprite and records where it lands.
//
// Draw list folder: drawlist.txt and one texNNN.argb per picture (width x height 32-bit ARGB pixels,
// native byte order, row by row). drawlist.txt:
//   textures N            then N lines: INDEX WIDTH HEIGHT FILE
//   copies M              then M lines: TEX SX SY SW SH DX DY DW DH COLOUR BLEND FLIPX FLIPY
// with one "copies" block per recorded frame, in order. COLOUR is the modulation as ARGB in hex;
// BLEND, FLIPX and FLIPY are 0 or 1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "platform/gfx/Sprite.h"

namespace qa::bench {

class RecordingSprite : public platform::gfx::Sprite {
  public:
    RecordingSprite(platform::gfx::Sprite& real, int viewWidth, int viewHeight)
        : real_(real), viewWidth_(viewWidth), viewHeight_(viewHeight) {}

    bool begin(std::uint32_t flags) override;
    bool setTransform(const Matrix& transform) override;
    bool draw(platform::gfx::Texture* texture, const platform::gfx::Rect* source, const Vec3* centre,
              const Vec3* position, std::uint32_t colour) override;
    bool end() override { return real_.end(); }

    // Draws from now on belong to a new frame.
    void nextFrame() { frames_.emplace_back(); }
    std::size_t frames() const { return frames_.size(); }
    // Copies per frame, on average over the recorded frames.
    double copies() const;
    // The destination pixels of all copies of a frame together, on average: the frame's drawing work.
    double pixels() const;
    // Writes the draw list into the folder (made if needed); false on a write error.
    bool write(const std::filesystem::path& dir) const;

  private:
    struct Picture {
        int width = 0, height = 0;
        std::vector<std::uint32_t> argb;
    };
    struct Copy {
        int texture;
        int sx, sy, sw, sh, dx, dy, dw, dh;
        std::uint32_t colour;
        bool blend, flipX, flipY;
    };

    platform::gfx::Sprite& real_;
    int viewWidth_, viewHeight_;
    Matrix transform_;
    bool blend_ = true;
    std::map<const platform::gfx::Texture*, int> index_;
    std::vector<Picture> pictures_;
    std::vector<std::vector<Copy>> frames_{1};
};

}  // namespace qa::bench

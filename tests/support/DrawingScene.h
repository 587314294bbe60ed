// A fresh scene on the headless device (software renderer over a 1024 x 768 back buffer), or on a
// device given, with the system font and the sprite installed, in a fresh disk folder; frames are
// drawn as the main loop draws them and the back buffer can be read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scene/SceneState.h"
#include "support/PictureMaker.h"
#include "support/TempDisk.h"

namespace qa::platform::gfx {
class Device;
class Font;
class Sprite;
}  // namespace qa::platform::gfx

namespace qa::test {

class DrawingScene {
  public:
    DrawingScene();
    // On this device (of 1024 x 768); the disk folder is made and entered first.
    explicit DrawingScene(std::function<std::unique_ptr<platform::gfx::Device>()> makeDevice);
    ~DrawingScene();
    DrawingScene(const DrawingScene&) = delete;
    DrawingScene& operator=(const DrawingScene&) = delete;

    scene::SceneState& scene() { return scene_; }
    platform::gfx::Device& device() { return *device_; }
    platform::gfx::Sprite* sprite() { return sprite_.get(); }
    platform::gfx::Font* font() { return font_.get(); }
    const TempDisk& disk() const { return disk_; }

    // Saves a picture as PNG under the disk's root and returns its name.
    std::string put(const std::string& name, const PictureMaker& picture) const;
    // Clears to opaque black and draws the root items back to front, then reads the back buffer.
    void frame();
    // Clears to opaque black, draws the root items back to front and presents, as the main loop does.
    void presentFrame();
    // Clears to opaque black (and reads the back buffer).
    void clear();
    // Reads the back buffer after drawing by hand.
    void readBack();
    // A pixel of the last read back buffer (ARGB).
    std::uint32_t pixel(int x, int y) const;
    // The bounding box of the pixels that are not black: left, top, right, bottom (exclusive); all 0
    // when there are none.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Box litBox() const;

  private:
    void drawItems();

    TempDisk disk_;
    scene::SceneState scene_;
    std::unique_ptr<platform::gfx::Device> device_;
    std::unique_ptr<platform::gfx::Font> font_;
    std::unique_ptr<platform::gfx::Sprite> sprite_;
    std::vector<std::uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// Channels of an ARGB pixel.
inline int redOf(std::uint32_t p) {
    return static_cast<int>((p >> 16) & 0xFF);
}
inline int greenOf(std::uint32_t p) {
    return static_cast<int>((p >> 8) & 0xFF);
}
inline int blueOf(std::uint32_t p) {
    return static_cast<int>(p & 0xFF);
}

}  // namespace qa::test

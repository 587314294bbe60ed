// The display device that draws into the application window: 1024 x 768 back buffer, the system
// font and the sprite every item shares, and the conversion of cursor positions to virtual units.
#pragma once

#include <cstdint>
#include <memory>

#include "common/Vec3.h"
#include "platform/gfx/Graphics.h"
#include "platform/window/GameWindow.h"

namespace qa::platform::gfx {
class Graphics;
class Device;
class Font;
class Sprite;
}  // namespace qa::platform::gfx

namespace qa::app {

class DisplayDevice {
  public:
    DisplayDevice(platform::gfx::Graphics* graphics, platform::window::GameWindow* window);
    ~DisplayDevice();

    bool create(int width, int height, std::uint8_t stencil, int depth, std::uint8_t windowed, int adapter,
                int multisampling);
    bool clear(std::uint32_t colour);
    bool beginScene();
    bool endScene();
    bool present();
    void release();
    void createSystemFont();
    void createSprite();
    void releaseSprite();

    platform::gfx::Device* device() const { return device_.get(); }
    bool depthInUse() const { return depthInUse_; }
    bool stencilInUse() const { return stencilInUse_; }
    platform::gfx::Font* systemFont() const { return font_.get(); }
    platform::gfx::Sprite* sprite() const { return sprite_.get(); }

    // A screen point converted to virtual-screen units, from the client size and the window rectangle.
    static Vec3 toVirtual(platform::window::Point p, int clientWidth, int clientHeight,
                          const platform::window::Rect& window);

  private:
    platform::gfx::Graphics* graphics_ = nullptr;
    platform::window::GameWindow* window_ = nullptr;
    std::unique_ptr<platform::gfx::Device> device_;
    std::unique_ptr<platform::gfx::Font> font_;
    std::unique_ptr<platform::gfx::Sprite> sprite_;
    float clearDepth_ = 1.0f;
    std::uint32_t clearStencil_ = 0;
    std::uint8_t depthInUse_ = 0;
    std::uint8_t stencilInUse_ = 0;
};

}  // namespace qa::app

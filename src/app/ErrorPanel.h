// The panel drawn over the scene while a reloaded scene document does not load: what is wrong and
// where, in the system font, on a dark box that keeps it readable over any picture.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qa::platform::gfx {
class Device;
class Font;
class Sprite;
class Texture;
}  // namespace qa::platform::gfx

namespace qa::app {

class ErrorPanel {
  public:
    static constexpr int kLeft = 32;
    static constexpr int kTop = 32;
    static constexpr int kWidth = 960;
    static constexpr int kLineHeight = 22;
    static constexpr int kMaxLines = 12;

    // Shows these lines (the first is the error, the rest warnings); an empty list hides the panel.
    void show(std::vector<std::string> lines);
    void hide() { show({}); }
    bool visible() const { return !lines_.empty(); }
    const std::vector<std::string>& lines() const { return lines_; }

    // Draws the panel; its box is made on the device the first time it is needed.
    void draw(platform::gfx::Device* device, platform::gfx::Sprite* sprite, platform::gfx::Font* font);
    // Forgets the box (the device is going away).
    void releaseBox();

  private:
    int height() const;

    std::vector<std::string> lines_;
    std::shared_ptr<platform::gfx::Texture> box_;
    int boxHeight_ = 0;
};

}  // namespace qa::app

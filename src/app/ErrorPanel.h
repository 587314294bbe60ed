// The panel drawn over the scene while a reloaded scene document does not load, or while the scene
// names files that are missing: what is wrong and where, in the system font, on a dark box that keeps
// it readable over any picture; red for an error, amber for warnings alone.
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
    void show(std::vector<std::string> lines) { show(std::move(lines), 1); }
    // Shows these lines, of which the first `errors` are errors (none: warnings alone, in the warning
    // colours); an empty list hides the panel.
    void show(std::vector<std::string> lines, std::size_t errors);
    // Shows warnings alone (the scene loaded), in the warning colours; an empty list hides the panel.
    void showWarnings(std::vector<std::string> lines) { show(std::move(lines), 0); }
    void hide() { show({}); }
    bool visible() const { return !lines_.empty(); }
    bool warningsOnly() const { return warningsOnly_; }
    const std::vector<std::string>& lines() const { return lines_; }

    // Draws the panel; its box is made on the device the first time it is needed.
    void draw(platform::gfx::Device* device, platform::gfx::Sprite* sprite, platform::gfx::Font* font);
    // Forgets the box (the device is going away).
    void releaseBox();

  private:
    int height() const;

    std::vector<std::string> lines_;
    std::size_t errors_ = 0;
    bool warningsOnly_ = false;
    std::shared_ptr<platform::gfx::Texture> box_;
    int boxHeight_ = 0;
    bool boxForWarnings_ = false;
};

}  // namespace qa::app

// The headless drawing scene.
#include "support/DrawingScene.h"

#include <algorithm>

#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "scene/ImageItem.h"
#include "scene/SceneState.h"

namespace qa::test {

DrawingScene::DrawingScene()
    : DrawingScene([] {
          platform::gfx::HeadlessGraphics graphics;
          platform::gfx::PresentParameters p;
          p.backBufferWidth = 1024;
          p.backBufferHeight = 768;
          return graphics.createDevice(0, platform::gfx::DeviceType::Reference, nullptr, 0, p);
      }) {}

DrawingScene::DrawingScene(std::function<std::unique_ptr<platform::gfx::Device>()> makeDevice) {
    scene::SceneState& state = scene_;
    device_ = makeDevice();
    if (!device_) return;
    font_ = device_->createFont(platform::gfx::FontDescription{});
    sprite_ = device_->createSprite();
    state.pictures.setDevice(device_.get());
    state.systemFont = font_.get();
    state.sprite = sprite_.get();
}

DrawingScene::~DrawingScene() {
    scene::SceneState& state = scene_;
    state.reset();
    state.sprite = nullptr;
    state.systemFont = nullptr;
    state.pictures.setDevice(nullptr);
    sprite_.reset();
    font_.reset();
    device_.reset();
}

std::string DrawingScene::put(const std::string& name, const PictureMaker& picture) const {
    picture.savePng((disk_.root() / name).string());
    return name;
}

void DrawingScene::clear() {
    device_->clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
    readBack();
}

void DrawingScene::drawItems() {
    scene::SceneState& state = scene_;
    device_->clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
    device_->beginScene();
    state.drawnItems.clear();
    for (auto it = state.rootItems.rbegin(); it != state.rootItems.rend(); ++it) (*it)->draw();
    device_->endScene();
}

void DrawingScene::frame() {
    drawItems();
    readBack();
}

void DrawingScene::presentFrame() {
    drawItems();
    device_->present();
}

void DrawingScene::readBack() {
    device_->readBackBuffer(pixels_, width_, height_);
}

std::uint32_t DrawingScene::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

DrawingScene::Box DrawingScene::litBox() const {
    Box b{width_, height_, 0, 0};
    bool any = false;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if ((pixel(x, y) & 0xFFFFFF) == 0) continue;
            any = true;
            b.left = std::min(b.left, x), b.top = std::min(b.top, y);
            b.right = std::max(b.right, x + 1), b.bottom = std::max(b.bottom, y + 1);
        }
    }
    return any ? b : Box{};
}

}  // namespace qa::test

// The panel drawn over the scene while a reloaded scene document does not load or names missing files.
#include "app/ErrorPanel.h"

#include <algorithm>
#include <cstdint>

#include "common/Matrix.h"
#include "common/Vec3.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/Texture.h"

namespace qa::app {

namespace {
constexpr std::uint32_t kBoxColour = 0xE8200808u;
constexpr std::uint32_t kBorderColour = 0xFFE05050u;
constexpr std::uint32_t kErrorColour = 0xFFFFFFFFu;
constexpr std::uint32_t kWarningColour = 0xFFFFD870u;
constexpr std::uint32_t kWarningBoxColour = 0xE8201806u;
constexpr std::uint32_t kWarningBorderColour = 0xFFE0A030u;
constexpr int kPadding = 12;
}  // namespace

void ErrorPanel::show(std::vector<std::string> lines, std::size_t errors) {
    warningsOnly_ = errors == 0 && !lines.empty();
    errors_ = std::min(errors, lines.size());
    if (lines.size() > static_cast<std::size_t>(kMaxLines)) {
        const std::size_t more = lines.size() - (kMaxLines - 1);
        lines.resize(kMaxLines - 1);
        errors_ = std::min(errors_, lines.size());
        lines.push_back("... and " + std::to_string(more) + " more");
    }
    lines_ = std::move(lines);
}

int ErrorPanel::height() const {
    return static_cast<int>(lines_.size()) * kLineHeight + 2 * kPadding;
}

void ErrorPanel::releaseBox() {
    box_.reset();
    boxHeight_ = 0;
}

void ErrorPanel::draw(platform::gfx::Device* device, platform::gfx::Sprite* sprite,
                      platform::gfx::Font* font) {
    using namespace platform::gfx;
    if (lines_.empty() || !device || !sprite) return;
    const int h = height();
    if (!box_ || boxHeight_ != h || boxForWarnings_ != warningsOnly_) {
        const std::uint32_t border = warningsOnly_ ? kWarningBorderColour : kBorderColour;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * h,
                                          warningsOnly_ ? kWarningBoxColour : kBoxColour);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (x < 2 || y < 2 || x >= kWidth - 2 || y >= h - 2)
                    pixels[static_cast<std::size_t>(y) * kWidth + x] = border;
            }
        }
        box_ = device->createTextureFromPixels(kWidth, h, std::move(pixels));
        boxHeight_ = h;
        boxForWarnings_ = warningsOnly_;
    }
    const Matrix identity = Matrix::transformation(nullptr, nullptr);
    sprite->begin(kSpriteAlphaBlend);
    sprite->setTransform(identity);
    const Vec3 at{static_cast<float>(kLeft), static_cast<float>(kTop), 0.0f};
    if (box_) sprite->draw(box_.get(), nullptr, nullptr, &at, 0xFFFFFFFFu);
    if (font) {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const long top = kTop + kPadding + static_cast<long>(i) * kLineHeight;
            const Rect rect{kLeft + kPadding, top, kLeft + kWidth - kPadding, top + kLineHeight};
            const bool error = i < errors_;
            font->drawText(sprite, lines_[i], rect, 0, error ? kErrorColour : kWarningColour);
        }
    }
    sprite->end();
}

}  // namespace qa::app

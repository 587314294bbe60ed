// The null device's resources.
#include "platform/gfx/null/NullDevice.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/PictureFile.h"
#include "platform/gfx/PixelTexture.h"
#include "platform/gfx/Sprite.h"

namespace qa::platform::gfx {

namespace {
class NullSprite : public Sprite {
  public:
    bool begin(std::uint32_t) override { return true; }
    bool setTransform(const Matrix&) override { return true; }
    bool draw(Texture*, const Rect*, const Vec3*, const Vec3*, std::uint32_t) override { return true; }
    bool end() override { return true; }
};
class NullFont : public Font {
  public:
    int drawText(Sprite*, const std::string&, const Rect&, std::uint32_t, std::uint32_t) override {
        return 0;
    }
    void preloadText(const std::string&) override {}
};
}  // namespace

// Pictures are still decoded: their sizes place the items and their alpha measures the glyphs.
std::shared_ptr<Texture> NullDevice::createTextureFromFile(FileSource& files, const std::string& windowsPath,
                                                           ImageInfo& info) {
    std::vector<std::uint32_t> argb;
    ImageInfo decoded;
    if (!PictureFile::decode(files, windowsPath, argb, decoded)) return nullptr;
    info = decoded;
    return std::make_shared<PixelTexture>(static_cast<int>(decoded.width), static_cast<int>(decoded.height),
                                          decoded.format, std::move(argb));
}
std::shared_ptr<Texture> NullDevice::createTextureFromPixels(int width, int height,
                                                             std::vector<std::uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<std::size_t>(width) * height) return nullptr;
    return std::make_shared<PixelTexture>(width, height, kFormatA8R8G8B8, std::move(argb));
}
std::unique_ptr<Font> NullDevice::createFont(const FontDescription&) {
    return std::make_unique<NullFont>();
}
std::unique_ptr<Sprite> NullDevice::createSprite() {
    return std::make_unique<NullSprite>();
}

}  // namespace qa::platform::gfx

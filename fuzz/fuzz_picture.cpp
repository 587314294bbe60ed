// Picture files of random bytes: loaded through the picture cache on the headless device, measured
// as a glyph sheet, drawn as a picture item and as the font of a text item. The first byte picks the
// file name's extension (the loader only tries some formats when the name asks for them).
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>

#include "FuzzDisk.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "scene/ImageItem.h"
#include "scene/PictureCache.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"

namespace {

using namespace qa;

struct Fixture {
    std::unique_ptr<platform::gfx::Device> device;
    std::unique_ptr<platform::gfx::Sprite> sprite;
    scene::SceneState scene;

    Fixture() {
        fuzz::FuzzDisk::root();
        fuzz::FuzzDisk::write("text.txt",
                              "The quick brown fox - jumps\r\nover the lazy dog\n\n\xC4\xFF\x01 end");
        platform::gfx::HeadlessGraphics graphics;
        platform::gfx::PresentParameters p;
        p.backBufferWidth = 1024;
        p.backBufferHeight = 768;
        device = graphics.createDevice(0, platform::gfx::DeviceType::Reference, nullptr, 0, p);
        if (!device) std::abort();
        sprite = device->createSprite();
        scene::SceneState& state = scene;
        state.pictures.setDevice(device.get());
        state.sprite = sprite.get();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    if (size == 0) return 0;
    static const char* const kExtensions[] = {".png", ".jpg",  ".bmp", ".tga", ".gif", ".pcx",
                                              ".tif", ".webp", ".xpm", ".ico", ".lbm", ""};
    const std::string name = std::string("picture") + kExtensions[data[0] % std::size(kExtensions)];
    fuzz::FuzzDisk::write(name, std::string(reinterpret_cast<const char*>(data + 1), size - 1));

    scene::SceneState& state = fixture.scene;
    scene::Picture* picture = state.pictures.acquire(name);
    scene::PictureCache::measureGlyphWidths(picture);
    scene::PictureCache::measureGlyphWidths(picture);  // measured once; the second call changes nothing
    auto* image = state.make<scene::ImageItem>(name);  // shares the cached picture
    auto* text = state.make<scene::TextItem>(name, "text.txt");
    image->position = {300, 200, 0};
    text->position = {100, 100, 0};
    text->size = {300, 200, 0};
    fixture.device->clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
    fixture.device->beginScene();
    image->draw();
    text->draw();
    fixture.device->endScene();
    if (picture) state.pictures.release(name);
    state.reset();
    return 0;
}

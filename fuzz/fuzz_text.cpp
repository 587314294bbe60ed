// Bitmap-font text items laid out and drawn with random text, box sizes, scroll offsets, scales and
// centres on the headless device, and the same text in the system font. The input is one line of
// numbers "w h ox oy sx sy cx cy font" (missing ones keep their defaults), then the text.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzDisk.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"

namespace {

using namespace qa;

// A glyph sheet of the given size: every cell holds a bar whose width grows with the glyph code,
// so that measured widths differ; `alpha` false saves it without an alpha channel.
void writeSheet(const std::string& name, int w, int h, bool alpha) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    const int cw = w / 16, ch = h / 16;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            const int code = cw > 0 && ch > 0 ? (y / ch) * 16 + x / cw : 0;
            const int inCell = cw > 0 ? x % cw : 0;
            const bool on = cw > 0 && inCell < (code % (cw + 1));
            row[x] = on ? 0xFFFFFFFFu : 0x00000000u;
        }
    }
    const std::string path = fuzz::FuzzDisk::root() + "/" + name;
    if (alpha) {
        IMG_SavePNG(s, path.c_str());
    } else {
        SDL_SaveBMP(s, path.c_str());  // 32-bit BMP without an alpha mask: read as opaque
    }
    SDL_FreeSurface(s);
}

struct Fixture {
    std::unique_ptr<platform::gfx::Device> device;
    std::unique_ptr<platform::gfx::Font> font;
    std::unique_ptr<platform::gfx::Sprite> sprite;
    scene::SceneState scene;
    std::vector<std::string> sheets;

    Fixture() {
        fuzz::FuzzDisk::root();
        writeSheet("sheet256.png", 256, 256, true);
        writeSheet("sheet15.png", 15, 15, true);  // cells of width and height 0
        writeSheet("sheet16.png", 16, 16, true);
        writeSheet("sheet17x300.png", 17, 300, true);
        writeSheet("opaque64.bmp", 64, 64, false);
        writeSheet("wide4096x16.png", 4096, 16, true);
        sheets = {"sheet256.png", "sheet15.png",
                  "sheet16.png",  "sheet17x300.png",
                  "opaque64.bmp", "wide4096x16.png",
                  "missing.png",  std::string(QA_SOURCE_DIR) + "/demo/data/pics/font16.png"};
        platform::gfx::HeadlessGraphics graphics;
        platform::gfx::PresentParameters p;
        p.backBufferWidth = 1024;
        p.backBufferHeight = 768;
        device = graphics.createDevice(0, platform::gfx::DeviceType::Reference, nullptr, 0, p);
        if (!device) std::abort();
        font = device->createFont(platform::gfx::FontDescription{});
        sprite = device->createSprite();
        scene::SceneState& state = scene;
        state.pictures.setDevice(device.get());
        state.systemFont = font.get();
        state.sprite = sprite.get();
    }
};

float number(std::istringstream& in, float fallback) {
    std::string word;
    if (!(in >> word)) return fallback;
    return std::strtof(word.c_str(), nullptr);  // "inf", "nan", "1e40" and "-0x1p3" included
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t eol = bytes.find('\n');
    std::istringstream header(eol == std::string::npos ? std::string() : bytes.substr(0, eol));
    const std::string text = eol == std::string::npos ? bytes : bytes.substr(eol + 1);
    fuzz::FuzzDisk::write("text.txt", text);

    const float w = number(header, 200), h = number(header, 100);
    const float ox = number(header, 0), oy = number(header, 0);
    const float sx = number(header, 1), sy = number(header, 1);
    const float cx = number(header, 0), cy = number(header, 0);
    std::string pick;
    header >> pick;
    const std::size_t sheet = std::strtoul(pick.c_str(), nullptr, 10) % fixture.sheets.size();

    scene::SceneState& state = fixture.scene;
    auto* item = state.make<scene::TextItem>(fixture.sheets[sheet], "text.txt");
    auto* plain = state.make<scene::ImageItem>("text.txt");  // the system font
    state.rootItems.push_back(item);
    item->addChild(plain);
    for (scene::ImageItem* i : {static_cast<scene::ImageItem*>(item), plain}) {
        i->size = {w, h, 0};
        i->sourceOffset = {ox, oy, 0};
        i->scale = {sx, sy, 1};
        i->centre = {cx, cy, 0};
        i->position = {512, 384, 0};
    }
    for (int frame = 0; frame < 2; ++frame) {
        fixture.device->clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
        fixture.device->beginScene();
        state.drawnItems.clear();
        item->draw();
        item->sourceOffset.y += 7;  // scrolled a little between frames, as a timer would
        fixture.device->endScene();
    }
    state.drawnItems.clear();
    state.rootItems.clear();
    state.reset();
    return 0;
}

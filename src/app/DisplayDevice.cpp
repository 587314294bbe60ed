// Display device creation with its three requests, clearing, presenting, the shared drawing
// resources and the virtual-screen conversion.
#include "app/DisplayDevice.h"

#include <cstdio>

#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/Texture.h"
#include "scene/NumberText.h"

namespace qa::app {

using namespace platform::gfx;

DisplayDevice::DisplayDevice(Graphics* graphics, platform::window::GameWindow* window)
    : graphics_(graphics), window_(window) {}

// Whatever was not released in the shutdown order goes here, the sprite and font before their device.
DisplayDevice::~DisplayDevice() {
    releaseSprite();
    release();
}

bool DisplayDevice::create(int width, int height, std::uint8_t stencil, int depth, std::uint8_t windowed,
                           int adapter, int multisampling) {
    device_ = nullptr;
    if (!graphics_) std::printf("Wrong D3D9 version\n");
    clearDepth_ = 1.0f;
    clearStencil_ = 0;
    stencilInUse_ = 0;
    depthInUse_ = 0;
    std::printf("Initializing D3D device\n");
    std::fflush(stdout);
    if (!graphics_) return false;
    depthInUse_ = depth != 0 ? 1 : 0;
    stencilInUse_ = stencil;

    PresentParameters p;
    p.backBufferWidth = static_cast<std::uint32_t>(width);
    p.backBufferHeight = static_cast<std::uint32_t>(height);
    p.windowed = windowed;

    device_ =
        graphics_->createDevice(adapter, DeviceType::Hardware, window_, kCreateMixedVertexProcessing, p);
    if (!device_)
        device_ =
            graphics_->createDevice(adapter, DeviceType::Hardware, window_, kCreateMixedVertexProcessing, p);
    if (!device_) {
        device_ = graphics_->createDevice(adapter, DeviceType::Reference, window_,
                                          kCreateSoftwareVertexProcessing, p);
    }
    if (!device_) {
        if (graphics_->failedForMemory())
            std::fprintf(stderr, "quorvart: the display device cannot be created: out of memory\n");
        return false;
    }
    device_->setRenderState(kRenderStateMultisampleAntialias, multisampling != 0 ? 1 : 0);
    return true;
}

bool DisplayDevice::clear(std::uint32_t colour) {
    if (!device_) return false;
    std::uint32_t flags = kClearTarget;
    if (depthInUse_ == 1) flags |= kClearZBuffer;
    if (stencilInUse_ == 1) flags |= kClearStencil;
    return device_->clear(flags, colour, clearDepth_, clearStencil_);
}

bool DisplayDevice::beginScene() {
    return device_ && device_->beginScene();
}
bool DisplayDevice::endScene() {
    return device_ && device_->endScene();
}
bool DisplayDevice::present() {
    return device_ && device_->present();
}

void DisplayDevice::release() {
    // The system font is never released on its own; it goes with its device.
    font_.reset();
    device_.reset();
}

void DisplayDevice::createSystemFont() {
    if (device_) font_ = device_->createFont(FontDescription{});
}

void DisplayDevice::createSprite() {
    if (device_) sprite_ = device_->createSprite();
}

void DisplayDevice::releaseSprite() {
    sprite_.reset();
}

Vec3 DisplayDevice::toVirtual(platform::window::Point p, int cw, int ch, const platform::window::Rect& r) {
    if (cw == 0 || ch == 0) return {};
    const double b = 0.5 * ((static_cast<double>(r.right) - r.left) - cw);
    const double x = (p.x - (static_cast<double>(r.left) + r.right - cw) * 0.5) * (1024.0 / cw);
    const double y = (p.y - (static_cast<double>(r.bottom) - ch - b)) * 768.0 / ch;
    return {scene::toFloat(x), scene::toFloat(y), 0.0f};
}

}  // namespace qa::app

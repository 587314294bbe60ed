// SDL's accelerated renderer in the application window: the frame is drawn into a back-buffer
// texture of the device's size and presented stretched (windowed) or in the largest area of its
// shape (full screen), waiting for the vertical retrace; where the window shows the back buffer at
// its own size, the frame is drawn straight into the window.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/sdl/FramePacer.h"
#include "platform/gfx/sdl/SdlDevice.h"

struct SDL_Texture;
struct SDL_Window;

namespace qa::platform::gfx {

class WindowDevice : public SdlDevice {
  public:
    // Null when the window has no accelerated renderer, or when the only one draws through a
    // software rasteriser (llvmpipe, softpipe, swrast; on a machine without graphics hardware that
    // is known without asking): the reference device serves better then
    // (unless `acceptSoftwareRasteriser`). Without `waitForRetrace` presents go out at once.
    static std::unique_ptr<WindowDevice> create(SDL_Window* window, int width, int height, bool keepAspect,
                                                bool waitForRetrace = true,
                                                bool acceptSoftwareRasteriser = false);
    ~WindowDevice() override;

    bool present() override;
    bool linearFiltering() const override { return true; }

    // Whether a renderer or OpenGL renderer name is that of a software rasteriser.
    static bool isSoftwareRasteriser(const std::string& name);

  private:
    WindowDevice(SDL_Renderer* renderer, SDL_Texture* target, SDL_Window* window, int width, int height,
                 bool keepAspect, bool vsync, bool paced);

    // Draws the next frame into the window itself when it shows the back buffer unscaled, else into
    // the back-buffer texture; false when the renderer refuses.
    bool chooseTarget();

    SDL_Texture* target_;
    bool direct_ = false;  // this frame is drawn straight into the window
    bool keepAspect_;
    std::unique_ptr<FramePacer> pacer_;  // null when presents are not paced
};

}  // namespace qa::platform::gfx

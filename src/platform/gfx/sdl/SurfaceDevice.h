// A back buffer in memory, drawn with the results of SDL's software renderer: sprite copies go
// straight into its pixels (SoftwareCompositor), the few that compositor leaves through the
// renderer. Headless (no window): the runner's and the tests' device, presenting nothing. In a
// window: the reference device, presenting the back buffer straight into the window's own surface,
// paced by the display's refresh interval.
#pragma once

#include <memory>

#include "platform/gfx/sdl/FramePacer.h"
#include "platform/gfx/sdl/SdlDevice.h"

struct SDL_Surface;
struct SDL_Window;

namespace qa::platform::gfx {

class SurfaceDevice : public SdlDevice {
  public:
    // A back buffer of width x height; null when it cannot be made. With a window, a full-screen
    // device (keepAspect) shows the picture in the largest area of its shape, with black bars; its
    // presents are paced by the display's refresh interval unless `paced` is false.
    static std::unique_ptr<SurfaceDevice> create(int width, int height, SDL_Window* window = nullptr,
                                                 bool keepAspect = false, bool paced = true);
    ~SurfaceDevice() override;

    bool clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
    bool present() override;
    bool drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                    bool blend) override;

  private:
    SurfaceDevice(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window, bool keepAspect,
                  bool paced);

    SDL_Surface* surface_;
    SDL_Window* window_;
    bool keepAspect_;
    std::unique_ptr<FramePacer> pacer_;  // null without a window, or when presents are not paced
};

}  // namespace qa::platform::gfx

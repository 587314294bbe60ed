// A back buffer in memory, drawn with the results of SDL's software renderer: sprite copies go
// straight into its pixels (SoftwareCompositor), the few that compositor leaves through the
// renderer. Headless (no window): the runner's and the tests' device, presenting nothing. In a
// window: the reference device, presenting the back buffer straight into the window's own surface,
// paced by the display's refresh interval.
//
// A frame's clear and copies are recorded and drawn when the frame ends (endScene, present or a
// read of the back buffer). Only the rectangles where the frame's copies differ from the previous
// frame's are drawn again (cleared, then every copy reaching into them, clipped to them); the rest
// of the back buffer already holds the same pixels. Presents copy only those rectangles to the window.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/gfx/DrawList.h"
#include "platform/gfx/FilteredScaler.h"
#include "platform/gfx/ScaleMode.h"
#include "platform/gfx/sdl/FramePacer.h"
#include "platform/gfx/sdl/SdlDevice.h"

struct SDL_Surface;
union SDL_Event;
struct SDL_Window;

namespace qa::platform::gfx {

class SurfaceDevice : public SdlDevice {
  public:
    // A back buffer of width x height; null when it cannot be made. With a window, a full-screen
    // device (keepAspect) shows the picture in the largest area of its shape, with black bars; its
    // presents are paced by the display's refresh interval unless `paced` is false. A picture shown
    // at another size is sampled as `scale` says.
    static std::unique_ptr<SurfaceDevice> create(int width, int height, SDL_Window* window = nullptr,
                                                 bool keepAspect = false, bool paced = true,
                                                 ScaleMode scale = kDefaultScaleMode);
    ~SurfaceDevice() override;

    bool clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
    bool endScene() override;
    bool present() override;
    bool drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                    bool blend) override;
    bool readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;
    void forget(SdlTexture* texture) override;

  private:
    SurfaceDevice(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window, bool keepAspect,
                  bool paced);

    // Draws the recorded frame into the back buffer.
    void flush();
    // Draws the recorded copies clipped to the box (every one when it is the whole buffer); false
    // when the renderer refused one.
    bool drawCopies(const DrawList::Box& box);
    void fill(const DrawList::Box& box, std::uint32_t pixel);
    // Draws the frame in full over the partly drawn one and compares.
    void verify();
    // Window events that may have spoiled what the window shows (uncovered, resized, shown again).
    static int watchWindow(void* device, SDL_Event* event);

    // Frames presented since the window last got the whole back buffer: it gets it when the window
    // reports being uncovered or resized, and now and then in any case.
    static constexpr int kRefreshFrames = 120;

    SDL_Surface* surface_;
    SDL_Window* window_;
    bool keepAspect_;
    ScaleMode scale_ = kDefaultScaleMode;
    FilteredScaler scaler_;
    std::unique_ptr<FramePacer> pacer_;  // null without a window, or when presents are not paced

    std::vector<std::vector<std::uint32_t>> kept_;  // pixels of pictures freed before their copies were drawn

    std::vector<DrawList::Box> presentBoxes_;  // drawn since the last present
    bool presentAll_ = true;
    std::atomic<bool> spoiled_{false};  // the window needs the whole back buffer
    SDL_Surface* shownOn_ = nullptr;    // the window surface the last present went to
    int framesSinceFull_ = 0;

    std::vector<std::uint32_t> verifyPixels_;
};

}  // namespace qa::platform::gfx

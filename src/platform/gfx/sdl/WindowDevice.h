// SDL's accelerated renderer in the application window: the frame is kept in a back-buffer texture
// of the device's size and presented stretched (windowed) or in the largest area of its shape (full
// screen), waiting for the vertical retrace; where the window shows the back buffer at its own size,
// a frame that changes much is drawn straight into the window.
//
// A frame's clear and copies are recorded and drawn when the frame ends (endScene, present or a
// read of the back buffer). The texture keeps its pixels from frame to frame, so a frame is drawn
// into it only where its copies differ from the previous frame's (each rectangle cleared, then the
// copies reaching into it, clipped to it); a frame with nothing changed draws nothing, and is not
// presented again while the window still shows it. The window's own buffer keeps nothing after a
// present, so a frame drawn straight into the window is always drawn in full: that is done when the
// frame changes over more than half the picture, where the copy of the texture would cost more than
// what drawing in part saves. A frame drawn over the one before (no clear) always goes into the
// texture.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/ScaleMode.h"
#include "platform/gfx/sdl/FramePacer.h"
#include "platform/gfx/sdl/SdlDevice.h"

struct SDL_Texture;
struct SDL_Window;
union SDL_Event;

namespace qa::platform::gfx {

class WindowDevice : public SdlDevice {
  public:
    // Null when the window has no accelerated renderer, or when the only one draws through a
    // software rasteriser (llvmpipe, softpipe, swrast; on a machine without graphics hardware that
    // is known without asking): the reference device serves better then
    // (unless `acceptSoftwareRasteriser`). Without `waitForRetrace` presents go out at once. The back
    // buffer shown at another size is sampled as `scale` says (the sharp mode: stretched to the
    // next whole multiple of its size by the nearest pixel, then smoothly down to the window's area).
    static std::unique_ptr<WindowDevice> create(SDL_Window* window, int width, int height, bool keepAspect,
                                                bool waitForRetrace = true,
                                                bool acceptSoftwareRasteriser = false,
                                                ScaleMode scale = kDefaultScaleMode);
    ~WindowDevice() override;

    bool clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
    bool endScene() override;
    bool present() override;
    bool drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                    bool blend) override;
    bool readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;
    void forget(SdlTexture* texture) override;
    bool linearFiltering() const override { return true; }

    // Whether a renderer or OpenGL renderer name is that of a software rasteriser.
    static bool isSoftwareRasteriser(const std::string& name);

    // Where the frame drawn last went: nowhere (the same as the frame before), into the back-buffer
    // texture, or straight into the window.
    enum class Drawn { Nothing, Texture, Window };
    Drawn lastDrawn() const { return lastDrawn_; }
    // Whether the last present was left out (the window showed that frame already).
    bool lastPresentSkipped() const { return skipped_; }
    // The back-buffer texture, for checks that spoil its pixels as a lost render target would.
    SDL_Texture* backBufferTexture() const { return target_; }

  private:
    WindowDevice(SDL_Renderer* renderer, SDL_Texture* target, SDL_Window* window, int width, int height,
                 bool keepAspect, bool vsync, bool paced);

    // Draws the recorded frame where it is kept; false when the renderer refused some of it.
    bool flush();
    // Draws a frame into the texture (null: the window): in full, or only within the boxes.
    bool draw(SDL_Texture* into, const DrawList& frame, bool cleared, std::uint32_t clearColour,
              const std::vector<DrawList::Box>* boxes);
    // Draws the frame in full into a second texture and compares it with the back-buffer texture.
    void verify();
    bool read(SDL_Texture* from, std::vector<std::uint32_t>& argb);
    // Takes what the event watch saw and the window's current size into account.
    void noteChanges();
    // Destroys what pictures freed before their copies were drawn left, once no frame needs it.
    void dropOrphans();
    static int watchEvents(void* device, SDL_Event* event);
    // Copies the back buffer onto the window's area in the device's scale mode.
    bool copyToWindow(const SDL_Rect& area);

    // Presents left out since the window last got a frame: it gets one when the window reports
    // being uncovered, and now and then in any case.
    static constexpr int kRefreshFrames = 120;

    SDL_Texture* target_;
    SDL_Texture* check_ = nullptr;     // the full frame, in the checking mode
    SDL_Texture* enlarged_ = nullptr;  // the back buffer at a whole multiple of its size (sharp mode)
    ScaleMode scale_ = kDefaultScaleMode;
    SDL_Window* window_;
    bool keepAspect_;
    int outputWidth_ = 0;
    int outputHeight_ = 0;
    std::unique_ptr<FramePacer> pacer_;      // null when presents are not paced
    std::unique_ptr<FramePacer> idlePacer_;  // paces the presents left out

    // What holds the frame drawn last: the texture; the window's buffer (until the next present);
    // the window itself (presented).
    bool textureHolds_ = false;
    bool windowHolds_ = false;
    bool shown_ = false;
    int framesSinceShown_ = 0;
    Drawn lastDrawn_ = Drawn::Nothing;
    bool skipped_ = false;

    std::atomic<bool> spoiled_{false};      // the window lost what it showed
    std::atomic<bool> targetsLost_{false};  // the renderer lost the texture's pixels
    std::atomic<bool> deviceLost_{false};   // the renderer lost every texture
    std::vector<SDL_Texture*> orphans_;     // copies of pictures freed before their frame was drawn
    std::vector<std::uint32_t> verifyA_;
    std::vector<std::uint32_t> verifyB_;
};

}  // namespace qa::platform::gfx

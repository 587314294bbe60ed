// What every device on SDL's renderer shares: clearing, textures, the sprite and the font, reading
// the back buffer back, the choice to skip pixel work, and the record of the frames drawn (for the
// devices that draw a frame only where it differs from the previous one).
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/FrameRecorder.h"
#include "platform/gfx/SpritePlacement.h"

struct SDL_Renderer;
struct SDL_Window;
union SDL_Event;
struct SDL_Rect;
struct SDL_Texture;

namespace qa::platform::gfx {

class SdlTexture;

class SdlDevice : public Device {
  public:
    ~SdlDevice() override;
    SdlDevice(const SdlDevice&) = delete;
    SdlDevice& operator=(const SdlDevice&) = delete;

    bool setRenderState(std::uint32_t, std::uint32_t) override { return true; }
    bool clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) override;
    bool beginScene() override { return renderer_ != nullptr; }
    // Runs whatever drawing the renderer still holds queued.
    bool endScene() override;
    std::shared_ptr<Texture> createTextureFromFile(FileSource& files, const std::string& windowsPath,
                                                   ImageInfo& info) override;
    std::shared_ptr<Texture> createTextureFromPixels(int width, int height,
                                                     std::vector<std::uint32_t> argb) override;
    std::unique_ptr<Font> createFont(const FontDescription& description) override;
    std::unique_ptr<Sprite> createSprite() override;
    bool readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) override;
    void setPixelsWanted(bool wanted) override { pixelsWanted_ = wanted; }

    bool pixelsWanted() const { return pixelsWanted_; }
    SDL_Renderer* renderer() const { return renderer_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Whether scaled pictures are smoothed (cheap on the graphics card, costly in software).
    virtual bool linearFiltering() const { return false; }

    // Copies pieces of the picture, modulated by the ARGB colour, alpha blended or not; false when the
    // renderer refuses. Here through SDL's renderer.
    virtual bool drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                            bool blend);

    // Checking mode of the devices that draw frames in part: every frame drawn in part is compared
    // pixel for pixel with the same frame drawn in full; differences are reported and counted
    // (and, when QUORVART_VERIFY_DRAW is set in the environment, where the mode starts on its own,
    // the program is stopped).
    void setVerifyDrawing(bool verify) { recorder_.setVerify(verify); }
    long drawMismatches() const { return recorder_.mismatches(); }
    // Whether the frame drawn last was drawn in part, and the rectangles drawn then (none: nothing
    // changed).
    bool lastFramePartial() const { return recorder_.lastPartial(); }
    const std::vector<DrawList::Box>& lastDamage() const { return recorder_.damage(); }

    // Textures made on this device register themselves so they can be cut loose when it goes.
    void attach(SdlTexture* texture) { textures_.insert(texture); }
    // A texture is going away (its pixels are still there during the call).
    virtual void forget(SdlTexture* texture) { textures_.erase(texture); }

    // Where a back buffer of bw x bh is shown on an output of ow x oh: the whole output, or the
    // largest area of the back buffer's shape, centred.
    static void presentArea(int outputWidth, int outputHeight, int bufferWidth, int bufferHeight,
                            bool keepAspect, SDL_Rect& area);

  protected:
    SdlDevice(SDL_Renderer* renderer, int width, int height);
    // Cuts the textures loose and destroys the renderer; subclasses call it before freeing what the
    // renderer draws into.
    void releaseRenderer();
    // Every texture made on the device uploads its pixels again when next used (the renderer lost
    // them).
    void uploadAgain();

    // True for the events after which `window` no longer shows what was presented (uncovered,
    // shown, restored, resized): the next present must show the whole back buffer again.
    static bool windowLosesItsPicture(const SDL_Event& event, SDL_Window* window);
    // Sets how copies of an uploaded picture are modulated (ARGB) and blended.
    static void modulate(SDL_Texture* texture, std::uint32_t colour, bool blend);
    // Copies one piece of an uploaded picture as its modulation is set; false when the renderer
    // refuses.
    bool copyPiece(SDL_Texture* texture, const SpritePiece& piece);

    FrameRecorder& recorder() { return recorder_; }

  private:
    SDL_Renderer* renderer_;
    int width_;
    int height_;
    bool pixelsWanted_ = true;
    std::set<SdlTexture*> textures_;
    FrameRecorder recorder_;
};

}  // namespace qa::platform::gfx

// A picture kept in memory and uploaded to its device's renderer on first use.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/PixelTexture.h"

struct SDL_Texture;

namespace qa::platform::gfx {

class SdlDevice;

class SdlTexture : public PixelTexture {
  public:
    SdlTexture(SdlDevice* owner, int width, int height, std::uint32_t formatCode,
               std::vector<std::uint32_t> argb);
    ~SdlTexture() override;

    // The renderer's copy, made on first use; null when the device is gone or refuses the size.
    SDL_Texture* sdlTexture();
    // The renderer's copy if it was made, without making it.
    SDL_Texture* uploaded() const { return sdl_; }
    // Hands the renderer's copy over to the caller, who destroys it (a picture going away whose
    // copies are still to be drawn); the texture makes another one if used again.
    SDL_Texture* takeUpload();
    // The renderer lost its copy: another one is made on next use.
    void uploadAgain();
    // The device is going away: its copy is destroyed and the texture keeps only its pixels.
    void detach();
    // A number no other texture made while the program runs has: tells pictures apart when one is
    // freed and another made at the same address.
    std::uint64_t serial() const { return serial_; }

  private:
    SdlDevice* owner_;
    SDL_Texture* sdl_ = nullptr;
    bool failed_ = false;
    std::uint64_t serial_;
};

}  // namespace qa::platform::gfx

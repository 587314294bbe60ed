// What is checked in a picture file before any decoder runs: the size it declares (decoders
// allocate and clear the whole picture from it, so a few bytes could otherwise ask for gigabytes),
// and for PNG that its chunks are all there (the PNG reader does not notice the end of the data
// and can go on reading the last bytes forever).
#pragma once

#include <cstdint>
#include <string>

namespace qa::platform::gfx {

class PictureCheck {
  public:
    enum class Kind { Png, Jpeg, Bmp, Tga };

    // The declared width and height; false when the header is cut short or malformed.
    static bool declaredSize(const std::string& bytes, Kind kind, std::uint32_t& width,
                             std::uint32_t& height);
    // True when the PNG's chunks follow one another whole up to the image end chunk.
    static bool pngChunksComplete(const std::string& bytes);
};

}  // namespace qa::platform::gfx

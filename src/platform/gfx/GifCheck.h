// A structural check of GIF files before the picture decoder sees them: the decoder trusts the
// compressed data, and a damaged stream can make it write past its buffers.
#pragma once

#include <string>

namespace qa::platform::gfx {

class GifCheck {
  public:
    // True when the file's blocks up to and including its first image are complete, no declared
    // size exceeds the limits, and the first image's compressed data are sound: every code names a table
    // entry that exists (or the one about to be made), and each run starts with a plain colour. False for
    // anything else, including a file that is cut short inside that image or holds no image at all.
    static bool firstImageSound(const std::string& bytes, int maxSide, long long maxPixels);
};

}  // namespace qa::platform::gfx

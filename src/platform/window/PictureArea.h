// Where the 1024 x 768 picture shows in a window of another size: the largest centred area of the
// picture's shape, with black bars beside or above and below it; and the way back from a point of
// the window to a picture pixel. Presenting and the cursor use the same area.
#pragma once

#include "platform/window/Window.h"

namespace qa::platform::window {

class PictureArea {
  public:
    static constexpr int kPictureWidth = 1024;
    static constexpr int kPictureHeight = 768;

    // The area in window pixels; the whole window when it has the picture's shape. Empty for an
    // empty window.
    static Rect fit(int windowWidth, int windowHeight);
    // A window point in picture pixels (rounded down); points in the bars land outside 0..1023 x 0..767.
    static Point toPicture(Point windowPoint, const Rect& area);
};

}  // namespace qa::platform::window

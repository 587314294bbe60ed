// What the player tells the page it runs in (the page's own script keeps window.quorvart from it).
#pragma once

#include <cstdint>
#include <string>

namespace qa::web {

class Page {
  public:
    // The game runs: its first frame is on the way.
    static void playing();
    // Frame n was drawn; `mixed` sample frames have gone to the browser's audio so far.
    static void frameDrawn(int frame, std::uint64_t mixed);
    // Frame n's back buffer was saved as a PNG file at `path` (in the player's file system).
    static void shot(int frame, const std::string& path);
    // The disk ended (its exit, or the window closed).
    static void ended();
    // The disk cannot play: these lines say why.
    static void failed(const std::string& text);
};

}  // namespace qa::web

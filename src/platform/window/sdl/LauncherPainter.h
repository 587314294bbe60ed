// Draws the launcher dialog: the picture with its border, the two flat check boxes with their
// labels, the default push button, the focus and the pushed state, in the system's button colours.
#pragma once

struct SDL_Surface;
struct _TTF_Font;

namespace qa::platform::window {

class LauncherDialog;

class LauncherPainter {
  public:
    LauncherPainter();
    ~LauncherPainter();
    LauncherPainter(const LauncherPainter&) = delete;
    LauncherPainter& operator=(const LauncherPainter&) = delete;

    // The dialog drawn into a new 32-bit surface of its size (the caller frees it); null when no
    // surface can be made. Without a font the labels are left out.
    SDL_Surface* paint(const LauncherDialog& dialog) const;
    // A 32 x 32 window icon cut from the picture (the caller frees it); null on failure.
    SDL_Surface* icon() const;

  private:
    _TTF_Font* label_ = nullptr;
    SDL_Surface* picture_ = nullptr;  // the launcher picture with its title lettered on
    bool ttf_ = false;
};

}  // namespace qa::platform::window

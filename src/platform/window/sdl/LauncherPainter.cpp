// The launcher's drawing on a software surface with SDL and SDL_ttf.
#include "platform/window/sdl/LauncherPainter.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/window/LauncherDialog.h"
#include "platform/window/LauncherPicture.h"

namespace qa::platform::window {

namespace {

constexpr Uint32 kFace = 0xFFD4D0C8;       // button face
constexpr Uint32 kHighlight = 0xFFFFFFFF;  // lit edge
constexpr Uint32 kLight = 0xFFD4D0C8;      // inner lit edge
constexpr Uint32 kShadow = 0xFF808080;     // shaded edge
constexpr Uint32 kDark = 0xFF404040;       // outer shaded edge
constexpr Uint32 kFrame = 0xFF000000;
constexpr Uint32 kBoxFill = 0xFFFFFFFF;
constexpr int kBoxSize = 13;
constexpr int kLabelPixels = 11;  // an 8 point face at the screen's 96 dots an inch
constexpr int kTitlePixels = 30;

void fill(SDL_Surface* s, int x, int y, int w, int h, Uint32 argb) {
    SDL_Rect r{x, y, w, h};
    SDL_FillRect(s, &r, argb);
}

// A one-pixel frame: top and left in one colour, bottom and right in another.
void frame(SDL_Surface* s, const Rect& r, Uint32 topLeft, Uint32 bottomRight) {
    const int w = r.width(), h = r.height();
    if (w <= 0 || h <= 0) return;
    fill(s, r.left, r.top, w, 1, topLeft);
    fill(s, r.left, r.top, 1, h, topLeft);
    fill(s, r.left, r.bottom - 1, w, 1, bottomRight);
    fill(s, r.right - 1, r.top, 1, h, bottomRight);
}

Rect shrink(const Rect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void putPixel(SDL_Surface* s, int x, int y, Uint32 argb) {
    if (x < 0 || y < 0 || x >= s->w || y >= s->h) return;
    static_cast<Uint32*>(
        s->pixels)[static_cast<std::size_t>(y) * (s->pitch / 4) + static_cast<std::size_t>(x)] = argb;
}

// The dotted focus frame: every other pixel.
void focusFrame(SDL_Surface* s, const Rect& r) {
    SDL_LockSurface(s);
    for (int x = r.left; x < r.right; ++x) {
        if (((x - r.left) & 1) == 0) {
            putPixel(s, x, r.top, kFrame);
            putPixel(s, x, r.bottom - 1, kFrame);
        }
    }
    for (int y = r.top; y < r.bottom; ++y) {
        if (((y - r.top) & 1) == 0) {
            putPixel(s, r.left, y, kFrame);
            putPixel(s, r.right - 1, y, kFrame);
        }
    }
    SDL_UnlockSurface(s);
}

// Text blended onto the surface; the rectangle it covers (empty without a font).
Rect text(SDL_Surface* s, TTF_Font* font, const std::string& str, int x, int y, SDL_Color colour) {
    if (!font || str.empty()) return {x, y, x, y};
    SDL_Surface* t = TTF_RenderUTF8_Blended(font, str.c_str(), colour);
    if (!t) return {x, y, x, y};
    SDL_Rect dst{x, y, t->w, t->h};
    SDL_BlitSurface(t, nullptr, s, &dst);
    Rect covered{x, y, x + t->w, y + t->h};
    SDL_FreeSurface(t);
    return covered;
}

void textSize(TTF_Font* font, const std::string& str, int& w, int& h) {
    w = 0;
    h = kLabelPixels;
    if (font) TTF_SizeUTF8(font, str.c_str(), &w, &h);
}

// The tick of a checked box, 7 x 7.
void tick(SDL_Surface* s, int x, int y) {
    static const char* const rows[7] = {"......#", ".....##", "#...###", "##.###.",
                                        "#####..", ".###...", "..#...."};
    SDL_LockSurface(s);
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            if (rows[r][c] == '#') putPixel(s, x + c, y + r, kFrame);
        }
    }
    SDL_UnlockSurface(s);
}

SDL_Surface* newSurface(int w, int h) {
    return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
}

}  // namespace

std::string LauncherPainter::findFont(const char* fileName) {
    static const char* const folders[] = {"/usr/share/fonts/truetype/liberation",
                                          "/usr/share/fonts/truetype/liberation2",
                                          "/usr/share/fonts/liberation-sans",
                                          "/usr/share/fonts/liberation",
                                          "/usr/share/fonts/TTF",
                                          "/usr/local/share/fonts",
                                          "/usr/share/fonts"};
    for (const char* folder : folders) {
        std::error_code ec;
        std::filesystem::path p = std::filesystem::path(folder) / fileName;
        if (std::filesystem::is_regular_file(p, ec)) return p.string();
    }
    return {};
}

LauncherPainter::LauncherPainter() {
    ttf_ = TTF_Init() == 0;
    TTF_Font* title = nullptr;
    if (ttf_) {
        const std::string regular = findFont("LiberationSans-Regular.ttf");
        const std::string bold = findFont("LiberationSans-Bold.ttf");
        if (!regular.empty()) label_ = TTF_OpenFont(regular.c_str(), kLabelPixels);
        if (!bold.empty()) title = TTF_OpenFont(bold.c_str(), kTitlePixels);
    }

    std::vector<Uint32> pixels = LauncherPicture::pixels();
    picture_ = newSurface(LauncherPicture::kWidth, LauncherPicture::kHeight);
    if (picture_) {
        SDL_LockSurface(picture_);
        for (int y = 0; y < LauncherPicture::kHeight; ++y) {
            std::copy_n(
                pixels.data() + static_cast<std::size_t>(y) * LauncherPicture::kWidth,
                LauncherPicture::kWidth,
                reinterpret_cast<Uint32*>(static_cast<Uint8*>(picture_->pixels) + y * picture_->pitch));
        }
        SDL_UnlockSurface(picture_);
        text(picture_, title, "QuorvArt", 16, 18, SDL_Color{60, 10, 70, 255});  // shadow
        text(picture_, title, "QuorvArt", 14, 16, SDL_Color{255, 244, 250, 255});
    }
    if (title) TTF_CloseFont(title);
}

LauncherPainter::~LauncherPainter() {
    if (picture_) SDL_FreeSurface(picture_);
    if (label_) TTF_CloseFont(label_);
    if (ttf_) TTF_Quit();
}

SDL_Surface* LauncherPainter::icon() const {
    if (!picture_) return nullptr;
    SDL_Surface* s = newSurface(32, 32);
    if (!s) return nullptr;
    // The sun's part of the picture, scaled down.
    SDL_Rect from{150, 20, 96, 96};
    SDL_Rect to{0, 0, 32, 32};
    SDL_BlitScaled(picture_, &from, s, &to);
    return s;
}

SDL_Surface* LauncherPainter::paint(const LauncherDialog& dialog) const {
    SDL_Surface* s = newSurface(dialog.width(), dialog.height());
    if (!s) return nullptr;
    SDL_FillRect(s, nullptr, kFace);
    const SDL_Color black{0, 0, 0, 255};

    for (const LauncherDialog::Control& c : dialog.controls()) {
        if (!c.present) continue;
        const Rect& r = c.rect;
        const bool focused = dialog.focus() == c.id;
        const bool pushed = dialog.pushed() == c.id;
        switch (c.kind) {
            case LauncherDialog::Kind::Picture: {
                // A bordered static that centres its bitmap and fills around it with the bitmap's
                // top-left colour.
                frame(s, r, kFrame, kFrame);
                const Rect in = shrink(r, 1);
                Uint32 corner = kFace;
                if (picture_) corner = *static_cast<const Uint32*>(picture_->pixels);
                fill(s, in.left, in.top, in.width(), in.height(), corner);
                if (picture_) {
                    SDL_Rect clip{in.left, in.top, in.width(), in.height()};
                    SDL_SetClipRect(s, &clip);
                    SDL_Rect dst{in.left + (in.width() - picture_->w) / 2,
                                 in.top + (in.height() - picture_->h) / 2, picture_->w, picture_->h};
                    SDL_BlitSurface(picture_, nullptr, s, &dst);
                    SDL_SetClipRect(s, nullptr);
                }
                break;
            }
            case LauncherDialog::Kind::CheckBox: {
                const int by = r.top + (r.height() - kBoxSize) / 2;
                const Rect box{r.left, by, r.left + kBoxSize, by + kBoxSize};
                frame(s, box, kShadow, kShadow);
                const Rect inner = shrink(box, 1);
                fill(s, inner.left, inner.top, inner.width(), inner.height(), pushed ? kFace : kBoxFill);
                if (c.checked) tick(s, box.left + 3, box.top + 3);
                int tw, th;
                textSize(label_, c.text, tw, th);
                const int tx = box.right + 4;
                const int ty = r.top + (r.height() - th) / 2;
                Rect covered = text(s, label_, c.text, tx, ty, black);
                if (focused)
                    focusFrame(s, {covered.left - 1, covered.top, covered.right + 1, covered.bottom});
                break;
            }
            case LauncherDialog::Kind::PushButton: {
                // The sunken client edge around the control, then the button with the default
                // button's black frame.
                frame(s, r, kShadow, kHighlight);
                frame(s, shrink(r, 1), kDark, kLight);
                const Rect b = shrink(r, 2);
                fill(s, b.left, b.top, b.width(), b.height(), kFace);
                frame(s, b, kFrame, kFrame);
                if (pushed) {
                    frame(s, shrink(b, 1), kShadow, kShadow);
                } else {
                    frame(s, shrink(b, 1), kHighlight, kDark);
                    frame(s, shrink(b, 2), kLight, kShadow);
                }
                int tw, th;
                textSize(label_, c.text, tw, th);
                const int shift = pushed ? 1 : 0;
                text(s, label_, c.text, b.left + (b.width() - tw) / 2 + shift,
                     b.top + (b.height() - th) / 2 + shift, black);
                if (focused) focusFrame(s, shrink(b, 4));
                break;
            }
        }
    }
    return s;
}

}  // namespace qa::platform::window

// The SDL window: launcher drawing and navigation, event translation, rectangles, cursor and
// message boxes.
#include "platform/window/sdl/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/window/PictureArea.h"
#include "platform/window/sdl/LauncherPainter.h"
#include "platform/window/sdl/MessageBoxGuard.h"
#include "platform/window/sdl/SdlKeys.h"

namespace qa::platform::window {

namespace {

constexpr std::uint32_t kF10 = 0x79;
constexpr Uint32 kWakeUpGraceMs = 20;
constexpr std::uint32_t kAltKey = 0x12;
constexpr Uint8 kFaceR = 0xD4, kFaceG = 0xD0, kFaceB = 0xC8;

std::uint32_t virtualKeyOf(const SDL_KeyboardEvent& k) {
    return SdlKeys::virtualKey(k.keysym.sym, (k.keysym.mod & KMOD_NUM) != 0);
}

Message command(int id) {
    return {WM_COMMAND, static_cast<std::uint64_t>(id & 0xFFFF), 0};
}

}  // namespace

SdlWindow::SdlWindow(bool graphicsHardware) : graphicsHardware_(graphicsHardware) {}

SdlWindow::~SdlWindow() {
    releaseLauncherDrawing();
    if (window_) {
        // SDL wakes its own event wait by a message to the window sent over a second connection to
        // the display; when the launcher's close arrives during the wait, that message may still be
        // on its way, and a display that gets it after the window is gone ends the process with an
        // X error. The window is hidden and the message given time to arrive before it goes.
        SDL_HideWindow(window_);
        SDL_Delay(kWakeUpGraceMs);
        SDL_DestroyWindow(window_);
    }
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::createLauncher() {
    if (window_) return true;
    // Closing the window is a message to the launcher or an input event, never a quit of its own.
    SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "quorvart: no display to open the window on (%s)\n", SDL_GetError());
        return false;
    }
    videoStarted_ = true;
    // SDL falls back on drivers that show nothing (a window nobody can see or close would wait
    // forever); they count as no display unless asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(wanted && SDL_strstr(wanted, driver))) {
        std::fprintf(stderr, "quorvart: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY)\n");
        return false;
    }
    // The graphics device draws with OpenGL where it can; a window made for it now is not made
    // again (and lost for a moment) when the device takes it over. Without graphics hardware
    // OpenGL would be a software rasteriser, which the device does not take: nothing here asks for
    // OpenGL then (not even SDL's window surface, which would be emulated through it), as loading
    // the rasteriser alone costs more memory than the rest of the program.
    const bool hardware = graphicsHardware_;
    if (!hardware) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    window_ = SDL_CreateWindow("QuorvArt", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, dialog_.width(),
                               dialog_.height(), flags | (hardware ? Uint32{SDL_WINDOW_OPENGL} : Uint32{0}));
    if (!window_) {
        window_ = SDL_CreateWindow("QuorvArt", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   dialog_.width(), dialog_.height(), flags);
    }
    if (!window_) {
        std::fprintf(stderr, "quorvart: cannot open the window (%s)\n", SDL_GetError());
        return false;
    }
    windowId_ = SDL_GetWindowID(window_);
    SDL_StopTextInput();
    painter_ = std::make_unique<LauncherPainter>();
    if (SDL_Surface* icon = painter_->icon()) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    renderer_ = SDL_CreateRenderer(window_, -1, hardware ? 0 : SDL_RENDERER_SOFTWARE);
    // Shown with the next message: first the launcher learns it is shown and sets the boxes.
    launcherQueue_.push_back({WM_SHOWWINDOW, 1, 0});
    dirty_ = true;
    return true;
}

bool SdlWindow::launcherMessage(Message& out) {
    if (!window_) return false;
    for (;;) {
        if (!launcherQueue_.empty()) {
            out = launcherQueue_.front();
            launcherQueue_.pop_front();
            return true;
        }
        if (!shown_) {
            SDL_ShowWindow(window_);
            SDL_RaiseWindow(window_);
            shown_ = true;
        }
        if (dirty_) paintLauncher();
        SDL_Event e;
        if (!SDL_WaitEvent(&e)) return false;
        if (!launcherEvent(e)) return false;
    }
}

bool SdlWindow::launcherEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            return false;
        case SDL_WINDOWEVENT:
            if (e.window.windowID != windowId_) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    launcherQueue_.push_back({WM_CLOSE, 0, 0});
                    break;
                case SDL_WINDOWEVENT_MAXIMIZED:
                    // The maximise button asks for full screen; the dialog itself keeps its size.
                    SDL_RestoreWindow(window_);
                    launcherQueue_.push_back({WM_SYSCOMMAND, SC_MAXIMIZE, 0});
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    launcherQueue_.push_back({WM_SYSCOMMAND, SC_MINIMIZE, 0});
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (!(SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) &&
                        (e.window.data1 != dialog_.width() || e.window.data2 != dialog_.height())) {
                        SDL_SetWindowSize(window_, dialog_.width(), dialog_.height());
                    }
                    dirty_ = true;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                    dirty_ = true;
                    break;
                default:
                    break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            // Keyboard navigation between the controls; keys with Alt belong to the window manager.
            if (e.key.keysym.mod & KMOD_ALT) break;
            const std::uint32_t vk = virtualKeyOf(e.key);
            const int id = e.type == SDL_KEYDOWN ? dialog_.keyDown(vk, (e.key.keysym.mod & KMOD_SHIFT) != 0)
                                                 : dialog_.keyUp(vk);
            if (id != 0) launcherQueue_.push_back(command(id));
            dirty_ = true;
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                dialog_.mouseDown(e.button.x, e.button.y);
                dirty_ = true;
            }
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.state & SDL_BUTTON_LMASK) {
                const int before = dialog_.pushed();
                dialog_.mouseMove(e.motion.x, e.motion.y);
                if (dialog_.pushed() != before) dirty_ = true;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                if (const int id = dialog_.mouseUp(e.button.x, e.button.y))
                    launcherQueue_.push_back(command(id));
                dirty_ = true;
            }
            break;
        default:
            break;
    }
    return true;
}

void SdlWindow::paintLauncher() {
    dirty_ = false;
    if (!renderer_ || !painter_) return;
    SDL_Surface* s = painter_->paint(dialog_);
    if (!s) return;
    SDL_Texture* t = SDL_CreateTextureFromSurface(renderer_, s);
    SDL_SetRenderDrawColor(renderer_, kFaceR, kFaceG, kFaceB, 255);
    SDL_RenderClear(renderer_);
    if (t) {
        SDL_Rect dst{0, 0, s->w, s->h};
        SDL_RenderCopy(renderer_, t, nullptr, &dst);
        SDL_DestroyTexture(t);
    }
    SDL_RenderPresent(renderer_);
    SDL_FreeSurface(s);
}

void SdlWindow::releaseLauncherDrawing() const {
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    painter_.reset();
}

void SdlWindow::setChecked(int controlId, bool checked) {
    dialog_.setChecked(controlId, checked);
    dirty_ = true;
}

void SdlWindow::destroyControl(int controlId) {
    dialog_.remove(controlId);
    dirty_ = true;
}

void SdlWindow::update() {
    if (dirty_) paintLauncher();
}

bool SdlWindow::pollEvent(InputEvent& out) {
    if (!window_) return false;
    // The launcher's own messages are over once the program runs.
    launcherQueue_.clear();
    SDL_Event e;
    while (queue_.empty()) {
        if (!SDL_PollEvent(&e)) return false;
        runningEvent(e);
    }
    out = queue_.front();
    queue_.pop_front();
    return true;
}

void SdlWindow::runningEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            queue_.push_back(InputEvent::close());
            break;
        case SDL_WINDOWEVENT:
            if (e.window.windowID != windowId_) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    queue_.push_back(InputEvent::close());
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_MINIMIZED:
                    queue_.push_back(InputEvent::resized());
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_LEAVE:
                    clicks_.forget();
                    break;
                default:
                    break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const std::uint32_t vk = virtualKeyOf(e.key);
            // Keys with Alt held, and Alt and F10 themselves, are the system's (its menu, the window
            // manager's shortcuts): the program does not see them.
            if (vk == 0 || (e.key.keysym.mod & KMOD_ALT) != 0 || vk == kAltKey || vk == kF10) break;
            queue_.push_back(e.type == SDL_KEYDOWN ? InputEvent::keyDown(vk) : InputEvent::keyUp(vk));
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            MouseButton b;
            if (e.button.button == SDL_BUTTON_LEFT) {
                b = MouseButton::Left;
            } else if (e.button.button == SDL_BUTTON_RIGHT) {
                b = MouseButton::Right;
            } else {
                break;
            }
            const InputEvent::Press press = e.type == SDL_MOUSEBUTTONDOWN
                                                ? clicks_.press(b, e.button.timestamp, e.button.x, e.button.y)
                                                : InputEvent::Press::Up;
            queue_.push_back(InputEvent::buttonAt(b, press, toCursorSpace(e.button.x, e.button.y)));
            break;
        }
        case SDL_MOUSEWHEEL: {
            double notches = e.wheel.preciseY;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            queue_.push_back(InputEvent::wheel(notches));
            break;
        }
        default:
            break;
    }
}

void SdlWindow::bordersOf(int& top, int& left, int& bottom, int& right) const {
    top = left = bottom = right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
}

bool SdlWindow::clientRect(Rect& out) const {
    if (!window_) return false;
    if (fullscreen_) {
        // On the whole desktop the picture's area stands for a display of the picture's size.
        out = {0, 0, PictureArea::kPictureWidth, PictureArea::kPictureHeight};
        return true;
    }
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    out = {0, 0, w, h};
    return true;
}

bool SdlWindow::windowRect(Rect& out) const {
    if (!window_) return false;
    if (fullscreen_) {
        out = {0, 0, PictureArea::kPictureWidth, PictureArea::kPictureHeight};
        return true;
    }
    int x = 0, y = 0, w = 0, h = 0, top, left, bottom, right;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    bordersOf(top, left, bottom, right);
    out = {x - left, y - top, x + w + right, y + h + bottom};
    return true;
}

void SdlWindow::setWindowPos(int left, int top, int width, int height) {
    if (!window_ || fullscreen_) return;
    int bt, bl, bb, br;
    bordersOf(bt, bl, bb, br);
    SDL_SetWindowSize(window_, std::max(1, width - bl - br), std::max(1, height - bt - bb));
    SDL_SetWindowPosition(window_, left + bl, top + bt);
}

void SdlWindow::setWindowSize(int width, int height) {
    if (!window_ || fullscreen_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) SDL_RestoreWindow(window_);
    int bt, bl, bb, br;
    bordersOf(bt, bl, bb, br);
    SDL_SetWindowSize(window_, std::max(1, width - bl - br), std::max(1, height - bt - bb));
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

bool SdlWindow::cursorPos(Point& out) const {
    if (!window_) return false;
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetWindowPosition(window_, &wx, &wy);
    if (SDL_GetMouseFocus() == window_) {
        // Over the window, the position its own pointer events brought: these follow every move,
        // warps included (the desktop-wide state can lag behind a warp).
        SDL_GetMouseState(&gx, &gy);
    } else {
        SDL_GetGlobalMouseState(&gx, &gy);
        gx -= wx;
        gy -= wy;
    }
    out = toCursorSpace(gx, gy);
    return true;
}

Point SdlWindow::toCursorSpace(int x, int y) const {
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window_, &wx, &wy);
    if (!fullscreen_) return {x + wx, y + wy};
    // Through the picture's area, in the pixels of a display of the picture's size.
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return PictureArea::toPicture({x, y}, PictureArea::fit(w, h));
}

void SdlWindow::showCursor(bool show) {
    cursorCount_ += show ? 1 : -1;
    if (videoStarted_) SDL_ShowCursor(cursorCount_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::messageBox(const std::string& text, const std::string& caption) {
    // SIGTERM and SIGINT close the box too: a watchdog or a terminal can end the program while it is up.
    MessageBoxGuard guard;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), window_) != 0 &&
        !guard.endedBy()) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
}

void SdlWindow::setFullscreen(bool fullscreen) {
    if (!window_) return;
    releaseLauncherDrawing();
    // From here on the window is the picture's: its size is the program's to keep.
    SDL_SetWindowResizable(window_, SDL_FALSE);
    if (fullscreen && !fullscreen_) {
        // Made borderless and as large as its display first: a desktop without a window manager
        // (nobody to act on the full-screen request) then shows it over the whole screen as well.
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) == 0) {
            SDL_SetWindowBordered(window_, SDL_FALSE);
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
        fullscreen_ = SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void* SdlWindow::nativeHandle() const {
    releaseLauncherDrawing();
    return window_;
}

}  // namespace qa::platform::window

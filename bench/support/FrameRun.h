// Times the program's own frames: the application runs on a disk as the program runs it (start-up,
// main loop, shutdown), on a real SDL window or headless, and a Google Benchmark state times the
// frames after a warm-up, one iteration per frame.
#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/Window.h"

namespace qa::bench {

enum class Renderer {
    Accelerated,  // SDL's accelerated renderer in a window (OpenGL; llvmpipe under Xvfb)
    Software,     // SDL's software renderer presenting into the window's surface
    Headless,     // the runner's device: a memory back buffer, pixel work skipped
};

const char* rendererName(Renderer r);

struct FrameRunSetup {
    std::filesystem::path disk;  // the folder that holds data/
    Renderer renderer = Renderer::Software;
    // Input events delivered in a frame's message step (frames count from 1), and the cursor position
    // in window pixels from a frame on (the headless window only; a real window has the pointer).
    std::vector<std::pair<int, platform::window::InputEvent>> input;
    std::vector<std::pair<int, platform::window::Point>> cursor;
    // Windowed (the window of the back buffer's size) or full screen (the back buffer stretched onto
    // the whole screen, keeping its shape).
    bool windowed = true;
    // Frames run before timing starts (start-up work, slides and fades settle).
    int warmupFrames = 60;
    // Called once after the warm-up, before the first timed frame.
    std::function<void()> afterWarmup;
    // When set, the sprite draws of the last `drawListFrames` warm-up frames are written there as a
    // draw list (DrawList.h), and counted in the counters "copies" and "pixels" (per frame; pixels
    // are destination pixels, the drawing work).
    std::filesystem::path drawListOut;
    int drawListFrames = 1;
};

// Runs the application with state.max_iterations timed frames (use ->Iterations(n)); the frames
// are virtual-time frames of 16 ms, presented without waiting for the retrace. Sound is off.
void runFrames(benchmark::State& state, const FrameRunSetup& setup);

// Key press and release messages for a virtual key.
platform::window::InputEvent keyDown(std::uint32_t vk);
platform::window::InputEvent keyUp(std::uint32_t vk);

}  // namespace qa::bench

// The environment's timing run.
#include "harness/TimingRun.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace qa::bench {

using namespace platform::window;

std::unique_ptr<TimingRun> TimingRun::fromEnvironment(Window& real) {
    const char* frames = std::getenv("QUORVART_BENCH_FRAMES");
    const int n = frames ? std::atoi(frames) : 0;
    if (n <= 0) return nullptr;
    return std::make_unique<TimingRun>(real, n, parseKeys(std::getenv("QUORVART_BENCH_KEYS")));
}

TimingRun::TimingRun(Window& real, int frames, std::vector<std::pair<int, std::uint32_t>> keys)
    : window_(real), timings_(frames) {
    window_.setFrameLimit(frames);
    window_.setStepHook([this, keys = std::move(keys)](int frame) {
        for (const auto& [at, vk] : keys) {
            if (frame == at) window_.post(InputEvent::keyDown(vk));
            if (frame == at + 1) window_.post(InputEvent::keyUp(vk));
        }
        timings_.step(frame);
    });
}

std::vector<std::pair<int, std::uint32_t>> TimingRun::parseKeys(const char* text) {
    std::vector<std::pair<int, std::uint32_t>> keys;
    std::istringstream in(text ? text : "");
    std::string item;
    while (in >> item) {
        int frame = 0;
        unsigned vk = 0;
        if (std::sscanf(item.c_str(), "%d:%u", &frame, &vk) == 2 && frame > 0 && vk < 256)
            keys.emplace_back(frame, vk);
    }
    return keys;
}

}  // namespace qa::bench

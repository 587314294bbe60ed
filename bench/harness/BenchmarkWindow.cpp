// The timing runs' window.
#include "harness/BenchmarkWindow.h"

#include <cstdio>

namespace qa::bench {

using namespace platform::window;

bool BenchmarkWindow::launcherMessage(Message& out) {
    switch (launcherStep_++) {
        case 0:
            out = {WM_SHOWWINDOW, 1, 0};
            return true;
        case 1:
            out = {WM_COMMAND, kStartButton, 0};
            return true;
        default:
            return inner_.launcherMessage(out);
    }
}

bool BenchmarkWindow::pollEvent(InputEvent& out) {
    if (!posted_.empty()) {
        out = posted_.front();
        posted_.pop_front();
        return true;
    }
    if (inner_.pollEvent(out)) return true;
    if (!stepEnding_) {
        // The real window has nothing more for this frame: the hook has its turn, and what it posts
        // (or the close at the frame limit) still belongs to this frame's step.
        stepEnding_ = true;
        ++steps_;
        if (stepHook_) stepHook_(steps_);
        if (frameLimit_ > 0 && steps_ == frameLimit_) posted_.push_back(InputEvent::close());
        if (!posted_.empty()) return pollEvent(out);
    }
    stepEnding_ = false;
    return false;
}

void BenchmarkWindow::messageBox(const std::string& text, const std::string& caption) {
    // Nobody is there to close a box: the text goes to the error output instead.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace qa::bench

// quorvart-bench: the program itself with the timing hook that bench/run.sh drives it through (the
// environment variables of harness/TimingRun.h). Without them it plays as quorvart does.
#include <memory>

#include "desktop/DesktopProgram.h"
#include "harness/TimingRun.h"

namespace {

// Runs the application on the timing window when the environment asks for a timing run, and prints
// the timings at the end.
class TimingHook : public qa::desktop::DesktopProgram::Hook {
  public:
    qa::platform::window::Window& window(qa::platform::window::Window& desktop) override {
        timing_ = qa::bench::TimingRun::fromEnvironment(desktop);
        return timing_ ? timing_->window() : desktop;
    }
    void finished() override {
        if (timing_) timing_->report();
    }

  private:
    std::unique_ptr<qa::bench::TimingRun> timing_;
};

}  // namespace

int main(int argc, char** argv) {
    TimingHook hook;
    return qa::desktop::DesktopProgram::run(argc, argv, &hook);
}

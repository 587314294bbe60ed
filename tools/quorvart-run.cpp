// quorvart-run: plays a disk without a window, in virtual time, for authors and for tests.
#include <cstdio>
#include <string>

#include "runner/Runner.h"

int main(int argc, char** argv) {
    qa::runner::RunnerOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        if (error == "help") {
            std::fputs(qa::runner::RunnerOptions::usage(), stdout);
            return 0;
        }
        if (error == "version") {
            std::fputs(qa::runner::RunnerOptions::version(), stdout);
            return 0;
        }
        std::fprintf(stderr, "quorvart-run: %s\n%s", error.c_str(), qa::runner::RunnerOptions::usage());
        return 2;
    }
    qa::runner::Runner runner(options);
    return runner.run();
}

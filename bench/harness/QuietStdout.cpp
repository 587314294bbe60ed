// Standard output sent to /dev/null and back.
#include "harness/QuietStdout.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace qa::bench {

QuietStdout::QuietStdout() {
    std::fflush(stdout);
    saved_ = ::dup(1);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) {
        ::dup2(null, 1);
        ::close(null);
    }
}

QuietStdout::~QuietStdout() {
    std::fflush(stdout);
    if (saved_ >= 0) {
        ::dup2(saved_, 1);
        ::close(saved_);
    }
}

}  // namespace qa::bench

// Thread priority through the kernel's per-thread nice value.
#include "platform/ThreadPriority.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace qa::platform {

void ThreadPriority::lowerCurrentThread() {
#if defined(__linux__)
    // On Linux the nice value belongs to the thread named by its id, not to the whole process.
    constexpr int kBackgroundNice = 5;
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    const int now = getpriority(PRIO_PROCESS, thread);
    if (now < kBackgroundNice) setpriority(PRIO_PROCESS, thread, kBackgroundNice);
#endif
}

}  // namespace qa::platform

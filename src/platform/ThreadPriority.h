// The calling thread made to yield to the others of the process: for work beside the frame loop
// that must never hold a frame back.
#pragma once

namespace qa::platform {

class ThreadPriority {
  public:
    // Lowers the calling thread's scheduling priority; where that cannot be done, nothing changes.
    static void lowerCurrentThread();
};

}  // namespace qa::platform

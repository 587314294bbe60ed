// The runner process's own memory use, as the kernel reports it in /proc/self/status.
#pragma once

#include <cstdint>

namespace qa::runner {

class ProcessMemory {
  public:
    // Resident memory now and its peak so far, in KiB; false when they cannot be read.
    static bool read(std::uint64_t& residentKb, std::uint64_t& peakKb);
};

}  // namespace qa::runner

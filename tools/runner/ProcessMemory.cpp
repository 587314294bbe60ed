// Reads VmRSS and VmHWM from /proc/self/status.
#include "runner/ProcessMemory.h"

#include <cstdio>
#include <cstring>

namespace qa::runner {

bool ProcessMemory::read(std::uint64_t& residentKb, std::uint64_t& peakKb) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return false;
    bool rss = false, hwm = false;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        unsigned long long kb = 0;
        if (std::sscanf(line, "VmRSS: %llu kB", &kb) == 1) residentKb = kb, rss = true;
        if (std::sscanf(line, "VmHWM: %llu kB", &kb) == 1) peakKb = kb, hwm = true;
    }
    std::fclose(f);
    return rss && hwm;
}

}  // namespace qa::runner

#include "platform/SystemMemory.h"

#include <fstream>
#include <string>
#include <unistd.h>

std::uint64_t AvailableMemoryBytes() {
    // MemAvailable counts reclaimable caches too; the free-page count alone
    // would refuse work the kernel can easily make room for.
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t value = 0;
    std::string unit;
    while (meminfo >> key >> value) {
        std::getline(meminfo, unit);
        if (key == "MemAvailable:")
            return value * 1024;
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

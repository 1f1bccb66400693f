#include "runs/MemoryRule.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t Unbounded = std::numeric_limits<std::uint64_t>::max();

std::uint64_t MemAvailable() {
    // MemAvailable counts reclaimable caches too; the free-page count alone
    // would refuse work the kernel can easily make room for.
    std::ifstream meminfo("/proc/meminfo");
    std::string key, unit;
    std::uint64_t value = 0;
    while (meminfo >> key >> value) {
        std::getline(meminfo, unit);
        if (key == "MemAvailable:") {
            return value * 1024;
        }
    }
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return Unbounded; // unknown: the allocation decides
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

// Address-space and data size of this process now, from /proc/self/statm.
void CurrentSizes(std::uint64_t& addressSpace, std::uint64_t& data) {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0, shared = 0, text = 0, lib = 0, dataPages = 0;
    statm >> size >> resident >> shared >> text >> lib >> dataPages;
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    addressSpace = size * page;
    data = dataPages * page;
}

std::uint64_t Headroom(int resource, std::uint64_t used) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return Unbounded;
    }
    const auto cap = static_cast<std::uint64_t>(limit.rlim_cur);
    return cap > used ? cap - used : 0;
}

// A number file of the cgroup tree; nothing for "max", a missing file or text.
bool ReadNumber(const std::string& path, std::uint64_t& value) {
    std::ifstream in(path);
    return static_cast<bool>(in >> value);
}

// Room left in one group: limit - usage, unbounded without a limit.
std::uint64_t RoomIn(const std::string& folder, const char* limitName, const char* usageName) {
    std::uint64_t limit = 0, usage = 0;
    if (!ReadNumber(folder + "/" + limitName, limit)) {
        return Unbounded;
    }
    if (!ReadNumber(folder + "/" + usageName, usage)) {
        usage = 0;
    }
    return limit > usage ? limit - usage : 0;
}

} // namespace

std::uint64_t CgroupHeadroom(const std::string& selfCgroup, const std::string& root) {
    std::uint64_t room = Unbounded;
    std::istringstream lines(selfCgroup);
    std::string line;
    while (std::getline(lines, line)) {
        // "hierarchy:controllers:path"; v2 has the hierarchy 0 and no controllers.
        const std::size_t c1 = line.find(':');
        const std::size_t c2 = c1 == std::string::npos ? c1 : line.find(':', c1 + 1);
        if (c2 == std::string::npos) {
            continue;
        }
        const std::string controllers = line.substr(c1 + 1, c2 - c1 - 1);
        std::string path = line.substr(c2 + 1);
        const bool v2 = line.compare(0, c1, "0") == 0 && controllers.empty();
        const bool v1 = (',' + controllers + ',').find(",memory,") != std::string::npos;
        if (!v2 && !v1) {
            continue;
        }
        const std::string base = v2 ? root : root + "/memory";
        // From the process's own group up to the root: any of them may bound it.
        for (;;) {
            const std::string folder = base + (path == "/" ? "" : path);
            room = std::min(room,
                            v2 ? RoomIn(folder, "memory.max", "memory.current")
                               : RoomIn(folder, "memory.limit_in_bytes", "memory.usage_in_bytes"));
            if (path.empty() || path == "/") {
                break;
            }
            const std::size_t slash = path.rfind('/');
            path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
        }
    }
    return room;
}

std::uint64_t MemoryForThisProcess() {
    std::uint64_t addressSpace = 0, data = 0;
    CurrentSizes(addressSpace, data);
    std::ifstream self("/proc/self/cgroup");
    std::ostringstream cgroup;
    cgroup << self.rdbuf();
    return std::min({MemAvailable(), Headroom(RLIMIT_AS, addressSpace), Headroom(RLIMIT_DATA, data),
                     CgroupHeadroom(cgroup.str(), "/sys/fs/cgroup")});
}

bool FitsInMemory(std::uint64_t bytes) {
    return bytes <= MemoryForThisProcess() / 10 * 8;
}

bool RunFitsInMemory(std::uint64_t plays, std::uint64_t runs, bool shown) {
    return FitsInMemory(plays * (shown ? ShownBytesPerPlay : RecordBytesPerPlay) +
                        runs * sizeof(std::int32_t));
}

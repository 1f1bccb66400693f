#include "engine/HugePages.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t Huge = std::size_t{1} << 21;
// What the C library adds to a block it maps on its own: its header before
// the block and one word of size after the request.
constexpr std::size_t MapOverhead = 32;

#if defined(__linux__)
// Linux 6.1 and later; older kernels refuse it, which costs nothing.
#ifdef MADV_COLLAPSE
constexpr int Collapse = MADV_COLLAPSE;
#else
constexpr int Collapse = 25;
#endif
#endif

} // namespace

std::size_t HugeRoom(std::size_t count, std::size_t size) {
    const std::size_t bytes = count * size;
    if (size == 0 || bytes < Huge)
        return count;
    const std::size_t whole = (bytes + MapOverhead + Huge - 1) / Huge * Huge;
    return (whole - MapOverhead) / size;
}

void AdviseHugePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t end = begin + bytes;
    // A block that starts just past a boundary, or ends just before one, was
    // mapped to it: that huge page is its own.
    const std::uintptr_t down = begin & ~(Huge - 1);
    const std::uintptr_t first = begin - down <= MapOverhead ? down : down + Huge;
    const std::uintptr_t up = (end + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t last = up - end <= MapOverhead ? up : up - Huge;
    if (last <= first)
        return;
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    // The allocator wrote its header before the advice, so the first huge
    // page would be made of small ones, fault by fault; made huge now, at once.
    if (first == down)
        ::madvise(reinterpret_cast<void*>(first), Huge, Collapse);
#endif
}

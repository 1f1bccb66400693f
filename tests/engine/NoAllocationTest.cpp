#include "engine/Slot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

// Counts every allocation of this test program. The replaced operators pair
// malloc with free themselves; inlined, g++ takes free for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(Slot, ShootAndSetBorderAllocateNothing) {
    Slot slot;
    slot.Random().Seed(11);
    slot.Reset();
    slot.SetBorder(12.5);
    const long before = allocations.load();
    for (int i = 0; i < 200000; ++i) {
        slot.Shoot();
    }
    slot.Reset();
    slot.SetBorder(30);
    const long after = allocations.load();
    EXPECT_GT(slot.PocketTable[0], 0);
    EXPECT_EQ(after - before, 0);
}

#pragma once
// Large arrays in huge pages: touching hundreds of megabytes page by page
// costs more than filling them. Only advice: nothing depends on it.

#include <cstddef>
#include <vector>

// Room for at least `count` values of `size` bytes such that the block, with
// the allocator's header, is whole huge pages; the kernel maps such a block
// at a huge-page boundary, so every page of it can be huge.
std::size_t HugeRoom(std::size_t count, std::size_t size);

// Asks for huge pages over the block of `bytes` at `data`.
void AdviseHugePages(const void* data, std::size_t bytes);

template <typename T> void AdviseHugePages(const std::vector<T>& v) {
    AdviseHugePages(v.data(), v.capacity() * sizeof(T));
}

// Reserves room for `count` values, in huge pages when large.
template <typename T> void ReserveHuge(std::vector<T>& v, std::size_t count) {
    if (v.capacity() >= count)
        return;
    v.reserve(HugeRoom(count, sizeof(T)));
    AdviseHugePages(v);
}

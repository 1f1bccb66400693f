#pragma once
// How much memory the system could still give this process without
// swapping, so that work too large to hold can be refused up front.

#include <cstdint>

// 0 when unknown.
std::uint64_t AvailableMemoryBytes();

#pragma once
// The two builds of the walk: one for any amd64 (or other) processor, one for
// processors with AVX2 and BMI2, compiled in a translation unit of its own.

#include "engine/BulkWalk.h"

namespace bulk {

struct Kernel {
    WalkFunction Walk = nullptr;
    StartFunction Start = nullptr;
};

Kernel PortableKernelEntry();
// Walk is null when this build has no AVX2 code (not an x86-64 compiler).
Kernel Avx2KernelEntry();

} // namespace bulk

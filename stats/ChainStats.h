#pragma once
// The chains of a run: where each ends and how long the chains were.

#include "runfile/RunRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int KeizokuBucketCount = 30;

// Record i ends a chain: it is a hit, it is not the last record, and the next
// record is not a hit. Out-of-range i is never a chain end.
bool IsChainEnd(const RunRecords& records, std::size_t i);

struct ChainStats {
    int FirstHitCount = 0;
    // Sum of the continuation counts of the chain ends; wide, as a file may
    // carry any counts.
    std::int64_t BonusCount = 0;
    // Element k-1 counts chain ends with continuation count k (k = 1..29);
    // element 29 counts 30 and more.
    std::array<int, KeizokuBucketCount> KeizokuBuckets{};

    // Counts one chain end with continuation count chainCount (>= 1).
    void AddChainEnd(std::int32_t chainCount);
};

// Requires records that pass ValidateRecords.
ChainStats ComputeChainStats(const RunRecords& records);

// Bucket index 0..29 for a continuation count c >= 1.
int KeizokuBucketIndex(std::int64_t c);

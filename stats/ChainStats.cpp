#include "stats/ChainStats.h"

#include "engine/HitState.h"

#include <algorithm>

bool IsChainEnd(const RunRecords& records, std::size_t i) {
    const auto& hitStates = records.HitStates;
    constexpr std::int32_t none = ToInt(HitState::None);
    return i + 1 < hitStates.size() && hitStates[i] != none && hitStates[i + 1] == none;
}

int KeizokuBucketIndex(std::int64_t c) {
    return static_cast<int>(std::clamp<std::int64_t>(c, 1, KeizokuBucketCount) - 1);
}

void ChainStats::AddChainEnd(std::int32_t chainCount) {
    ++KeizokuBuckets[static_cast<std::size_t>(KeizokuBucketIndex(chainCount))];
    ++FirstHitCount;
    BonusCount += chainCount;
}

ChainStats ComputeChainStats(const RunRecords& records) {
    ChainStats stats;
    const std::size_t n = records.HitStates.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (IsChainEnd(records, i)) {
            stats.AddChainEnd(records.ChainCounts[i]);
        }
    }
    return stats;
}

#pragma once
// The per-play records of one run: five parallel vectors, element k of each
// describing the k+1-th recorded play.

#include <cstddef>
#include <cstdint>
#include <vector>

struct RunRecords {
    std::vector<std::int32_t> SinceHitPlays;
    std::vector<std::int32_t> BallCounts;
    std::vector<std::int32_t> ChainCounts;
    std::vector<std::int32_t> PlayNumbers;
    std::vector<std::int32_t> HitStates;

    // Length of SinceHitPlays; the others match it unless a caller broke them.
    std::size_t Size() const { return SinceHitPlays.size(); }
    bool SameLengths() const {
        const std::size_t n = SinceHitPlays.size();
        return BallCounts.size() == n && ChainCounts.size() == n && PlayNumbers.size() == n &&
               HitStates.size() == n;
    }

    void Clear() {
        SinceHitPlays.clear();
        BallCounts.clear();
        ChainCounts.clear();
        PlayNumbers.clear();
        HitStates.clear();
    }

    void Reserve(std::size_t n) {
        SinceHitPlays.reserve(n);
        BallCounts.reserve(n);
        ChainCounts.reserve(n);
        PlayNumbers.reserve(n);
        HitStates.reserve(n);
    }

    // In the order the engine's counters are recorded after a play.
    void Append(int sinceHit, int balls, int chain, int playNo, int hitState) {
        SinceHitPlays.push_back(sinceHit);
        BallCounts.push_back(balls);
        ChainCounts.push_back(chain);
        PlayNumbers.push_back(playNo);
        HitStates.push_back(hitState);
    }

    friend bool operator==(const RunRecords&, const RunRecords&) = default;
};

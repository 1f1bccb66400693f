#include "runs/Accumulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

PercentileRanks RanksOf(std::size_t n, double p) {
    const double h = (static_cast<double>(n) - 1.0) * p;
    const auto lo = static_cast<std::size_t>(std::floor(h));
    return {lo, std::min(lo + 1, n - 1), h - static_cast<double>(lo)};
}

double Percentile(const std::vector<double>& sorted, double p) {
    const PercentileRanks r = RanksOf(sorted.size(), p);
    return sorted[r.Low] + r.Share * (sorted[r.High] - sorted[r.Low]);
}

void SelectPercentiles(std::span<const std::int32_t> values, std::span<const double> ps,
                       std::span<double> out) {
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    const std::int32_t low = *lowest;
    const auto range = static_cast<std::uint32_t>(static_cast<std::int64_t>(*highest) - low);
    // Buckets of 2^shift values; 4096 of them fit the first-level cache.
    constexpr std::uint32_t Buckets = 4096;
    unsigned shift = 0;
    while ((range >> shift) >= Buckets) {
        ++shift;
    }
    const auto bucketOf = [&](std::int32_t v) {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(v) - low) >> shift;
    };
    std::array<std::uint32_t, Buckets> count{};
    for (const std::int32_t v : values) {
        ++count[bucketOf(v)];
    }
    // Each rank's bucket and its rank inside it; the buckets asked for get
    // a slot each, in ascending order.
    std::vector<PercentileRanks> at(ps.size());
    std::vector<std::size_t> ranks;
    for (std::size_t q = 0; q < ps.size(); ++q) {
        at[q] = RanksOf(values.size(), ps[q]);
        ranks.push_back(at[q].Low);
        ranks.push_back(at[q].High);
    }
    std::sort(ranks.begin(), ranks.end());
    ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
    std::vector<std::uint32_t> rankBucket(ranks.size());
    std::vector<std::size_t> bucketStart(ranks.size()); // values below the bucket
    {
        std::size_t below = 0;
        std::uint32_t b = 0;
        for (std::size_t i = 0; i < ranks.size(); ++i) {
            while (below + count[b] <= ranks[i]) {
                below += count[b++];
            }
            rankBucket[i] = b;
            bucketStart[i] = below;
        }
    }
    constexpr std::int16_t None = -1;
    std::array<std::int16_t, Buckets> slot;
    slot.fill(None);
    std::vector<std::size_t> offset; // of each slot's values in `picked`
    std::size_t total = 0;
    for (const std::uint32_t b : rankBucket) {
        if (slot[b] == None) {
            slot[b] = static_cast<std::int16_t>(offset.size());
            offset.push_back(total);
            total += count[b];
        }
    }
    std::vector<std::int32_t> picked(total);
    std::vector<std::size_t> fill = offset;
    for (const std::int32_t v : values) {
        const std::int16_t s = slot[bucketOf(v)];
        if (s != None) {
            picked[fill[static_cast<std::size_t>(s)]++] = v;
        }
    }
    const auto valueAt = [&](std::size_t rank) {
        const std::size_t i = static_cast<std::size_t>(
            std::lower_bound(ranks.begin(), ranks.end(), rank) - ranks.begin());
        const auto first =
            picked.begin() +
            static_cast<std::ptrdiff_t>(offset[static_cast<std::size_t>(slot[rankBucket[i]])]);
        const auto nth = first + static_cast<std::ptrdiff_t>(rank - bucketStart[i]);
        std::nth_element(first, nth, first + count[rankBucket[i]]);
        return static_cast<double>(*nth);
    };
    for (std::size_t q = 0; q < ps.size(); ++q) {
        const double a = valueAt(at[q].Low);
        out[q] = a + at[q].Share * (valueAt(at[q].High) - a);
    }
}

Interval MeanInterval95(const std::vector<double>& values) {
    const double n = static_cast<double>(values.size());
    if (values.size() < 2) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan};
    }
    double sum = 0.0;
    for (const double v : values) {
        sum += v;
    }
    const double mean = sum / n;
    double squares = 0.0;
    for (const double v : values) {
        squares += (v - mean) * (v - mean);
    }
    const double half = Z95 * std::sqrt(squares / (n - 1.0) / n);
    return {mean - half, mean + half};
}

Interval WilsonInterval95(std::int64_t successes, std::int64_t trials) {
    const double n = static_cast<double>(trials);
    const double p = static_cast<double>(successes) / n;
    const double z2 = Z95 * Z95;
    const double centre = (p + z2 / (2.0 * n)) / (1.0 + z2 / n);
    const double half = Z95 / (1.0 + z2 / n) * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

void Accumulator::Add(double value) {
    Values_.push_back(value);
    Sum_ += value;
    Ahead_ += value > 0.0 ? 1 : 0;
    Sorted_.clear();
}

double Accumulator::Percentile(double p) const {
    if (Sorted_.size() != Values_.size()) {
        Sorted_ = Values_;
        std::sort(Sorted_.begin(), Sorted_.end());
    }
    return ::Percentile(Sorted_, p);
}

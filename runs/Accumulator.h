#pragma once
// The figures over many runs' values, the same for the companion's batches,
// the study and the window: mean and its 95 % interval, percentiles, the
// share of runs ahead (above 0) and its 95 % interval.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct Interval {
    double Low = 0.0;
    double High = 0.0;
};

// 1.96: the two-sided 95 % point of the normal distribution.
inline constexpr double Z95 = 1.959963984540054;

// Linear interpolation between the closest ranks of ascending values (the
// p-quantile at rank (n-1)p). Requires at least one value.
double Percentile(const std::vector<double>& sorted, double p);

// Where Percentile reads: ranks Low and High of n ascending values, and the
// share of the way from the one to the other.
struct PercentileRanks {
    std::size_t Low = 0, High = 0;
    double Share = 0.0;
};
PercentileRanks RanksOf(std::size_t n, double p);

// Puts the values of the ascending, distinct `ranks` in place within
// [first, last) (base + rank lies inside it), as sorting would, by selection
// that splits the range at the middle rank: about n log2(ranks) moves.
template <class It>
void PlaceRanks(It base, It first, It last, const std::size_t* ranks, std::size_t count) {
    while (count > 0) {
        const std::size_t mid = count / 2;
        const It at = base + static_cast<std::ptrdiff_t>(ranks[mid]);
        std::nth_element(first, at, last);
        PlaceRanks(base, first, at, ranks, mid);
        first = at + 1;
        ranks += mid + 1;
        count -= mid + 1;
    }
}

// Percentile of the values as if sorted, for each of the levels `ps`; the
// values are reordered, not sorted. Requires at least one value.
template <class T, std::size_t N>
std::array<double, N> SelectPercentiles(std::span<T> values, const std::array<double, N>& ps) {
    std::array<PercentileRanks, N> at{};
    std::array<std::size_t, 2 * N> ranks{};
    for (std::size_t q = 0; q < N; ++q) {
        at[q] = RanksOf(values.size(), ps[q]);
        ranks[2 * q] = at[q].Low;
        ranks[2 * q + 1] = at[q].High;
    }
    std::sort(ranks.begin(), ranks.end());
    const auto distinct =
        static_cast<std::size_t>(std::unique(ranks.begin(), ranks.end()) - ranks.begin());
    PlaceRanks(values.begin(), values.begin(), values.end(), ranks.data(), distinct);
    std::array<double, N> out{};
    for (std::size_t q = 0; q < N; ++q) {
        const auto low = static_cast<double>(values[at[q].Low]);
        out[q] = low + at[q].Share * (static_cast<double>(values[at[q].High]) - low);
    }
    return out;
}

// Mean ± Z95 · s/√n, s the sample standard deviation (n - 1); for fewer than
// two values both ends are NaN.
Interval MeanInterval95(const std::vector<double>& values);

// Wilson's score interval at 95 % for `successes` out of `trials` (> 0).
Interval WilsonInterval95(std::int64_t successes, std::int64_t trials);

class Accumulator {
public:
    void Reserve(std::size_t count) { values_.reserve(count); }
    void Add(double value);

    std::size_t Count() const { return values_.size(); }
    // The values in the order they were added.
    const std::vector<double>& Values() const { return values_; }

    // Each requires at least one value.
    double Mean() const { return sum_ / static_cast<double>(values_.size()); }
    Interval MeanInterval95() const { return ::MeanInterval95(values_); }
    double Percentile(double p) const;
    double ShareAhead() const {
        return static_cast<double>(ahead_) / static_cast<double>(values_.size());
    }
    Interval ShareAheadInterval95() const {
        return WilsonInterval95(ahead_, static_cast<std::int64_t>(values_.size()));
    }

private:
    std::vector<double> values_;
    mutable std::vector<double> sorted_; // made on the first percentile asked for
    double sum_ = 0.0;
    std::int64_t ahead_ = 0;
};

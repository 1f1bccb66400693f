#pragma once
// The figures over many runs' values, the same for the companion's batches,
// the study and the window: mean and its 95 % interval, percentiles, the
// share of runs ahead (above 0) and its 95 % interval.

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

// Percentile of the values as if sorted, for each level of `ps` into `out`
// (same length). One counting pass over the range of the values finds the few
// stretches the ranks fall in, and only those are put in order; the values
// are left as they are. Requires at least one value.
void SelectPercentiles(std::span<const std::int32_t> values, std::span<const double> ps,
                       std::span<double> out);

// Mean ± Z95 · s/√n, s the sample standard deviation (n - 1); for fewer than
// two values both ends are NaN.
Interval MeanInterval95(const std::vector<double>& values);

// Wilson's score interval at 95 % for `successes` out of `trials` (> 0).
Interval WilsonInterval95(std::int64_t successes, std::int64_t trials);

class Accumulator {
public:
    void Reserve(std::size_t count) { Values_.reserve(count); }
    void Add(double value);

    std::size_t Count() const { return Values_.size(); }
    // The values in the order they were added.
    const std::vector<double>& Values() const { return Values_; }

    // Each requires at least one value.
    double Mean() const { return Sum_ / static_cast<double>(Values_.size()); }
    Interval MeanInterval95() const { return ::MeanInterval95(Values_); }
    double Percentile(double p) const;
    double ShareAhead() const {
        return static_cast<double>(Ahead_) / static_cast<double>(Values_.size());
    }
    Interval ShareAheadInterval95() const {
        return WilsonInterval95(Ahead_, static_cast<std::int64_t>(Values_.size()));
    }

private:
    std::vector<double> Values_;
    mutable std::vector<double> Sorted_; // made on the first percentile asked for
    double Sum_ = 0.0;
    std::int64_t Ahead_ = 0;
};

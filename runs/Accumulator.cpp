#include "runs/Accumulator.h"

#include <algorithm>
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
    values_.push_back(value);
    sum_ += value;
    ahead_ += value > 0.0 ? 1 : 0;
    sorted_.clear();
}

double Accumulator::Percentile(double p) const {
    if (sorted_.size() != values_.size()) {
        sorted_ = values_;
        std::sort(sorted_.begin(), sorted_.end());
    }
    return ::Percentile(sorted_, p);
}

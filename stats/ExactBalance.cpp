#include "stats/ExactBalance.h"

#include "engine/Slot.h"
#include "stats/Theory.h"

#include <kissfft/kissfft.hh>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <string>
#include <thread>

namespace {

using LD = long double;
template <class R> using Cx = std::complex<R>;

constexpr LD Scale = 65536.0L;
constexpr LD Hit = Slot::HitWeight / Scale;
constexpr LD Entry = Slot::EntryWeight / Scale;
constexpr LD Keep = Slot::ContinueWeight / Scale;
constexpr LD ChanceHit = Slot::ChanceHitWeight / Scale;
constexpr int BonusPayouts = 135;
// Mass left outside a table on each side, so less than 1e-13 wraps around.
constexpr double TailMass = 4e-14;
// The bands need only their five points: a point moves only where the CDF
// lies within twice this of its level.
constexpr double BandTailMass = 1e-10;
// Below e^-30 a point adds nothing the double path would get wrong.
constexpr LD PreciseFrom = -30.0L;

template <class C> C Power(C x, int n) {
    C out(1);
    for (; n > 0; n >>= 1) {
        if ((n & 1) != 0) {
            out *= x;
        }
        x *= x;
    }
    return out;
}

template <class R> Cx<R> Expm1(Cx<R> w) {
    const R half = std::sin(w.imag() / 2);
    return {std::expm1(w.real()) * std::cos(w.imag()) - 2 * half * half,
            std::exp(w.real()) * std::sin(w.imag())};
}

// expm1(k u) / expm1(u): the sum of e^(j u) for j < k, k when u is 0. Past
// e^-40 the power of e^u is below any table entry and only -1 / expm1(u) stays.
template <class R> Cx<R> GeometricSum(Cx<R> u, Cx<R> expm1u, R k) {
    if (k == 0) {
        return 0;
    }
    if (u == Cx<R>(0)) {
        return k;
    }
    if (k * u.real() < -40) {
        return R(-1) / expm1u;
    }
    return Expm1(k * u) / expm1u;
}

// What one value of z gives about the balance after N plays: with the 2×2
// transfer matrix T (normal play, chance mode past its first bonus) and its
// eigenvalues l1 (the larger) and l2,
//   F_N = l1^(N-2) [a g(N-1) - b g(N-2)],  g(k) = (l2^k / l1^k - 1) / (l2 / l1 - 1),
// and F_1 = v, the first normal segment.
template <class R> struct Point {
    Cx<R> s1;      // log l1
    Cx<R> u;       // log l2 - log l1
    Cx<R> expm1u;  // expm1(u)
    Cx<R> a, b, v; // a = (T v)_1, b = l2 v_1
    bool valid = true;
};

template <class R> struct Weights { R p0, p1, p2; };

// The generating functions of the segments between two recorded plays.
template <class R> Point<R> Evaluate(const Weights<R>& w, Cx<R> z, Cx<R> zi) {
    using C = Cx<R>;
    const R one = 1;
    const C z2 = z * z, z3 = z2 * z, z6 = z3 * z3, z12 = z6 * z6, z14 = z12 * z2;
    const C extra = (one - w.p2) + w.p2 * z14;
    const C bonusBall = ((one - w.p0) + w.p0 * z3) * extra;
    const C missDenominator = one - (one - w.p1) * zi * bonusBall;
    const C normalDenominator = one - (one - w.p0) * zi * extra;
    const C chanceDenominator = one - (one - static_cast<R>(ChanceHit)) * zi;
    Point<R> p;
    p.valid =
        missDenominator.real() > 0 && normalDenominator.real() > 0 && chanceDenominator.real() > 0;
    // A bonus: balls until the 135th attacker payout, each with its start and
    // extra pocket draws; its shot's own ball is the z^-1 of beta and gamma.
    const C bonus = Power(w.p1 * z12 * bonusBall / missDenominator, BonusPayouts);
    const C play = w.p0 * (one - static_cast<R>(Hit)) * z2 * extra / normalDenominator;
    const C jackpot = w.p0 * static_cast<R>(Hit) * z2 / normalDenominator;
    const C beta = zi * bonus;
    const C gamma = static_cast<R>(ChanceHit) * zi * bonus / chanceDenominator;
    const C t11 = play + (one - static_cast<R>(Entry)) * beta * jackpot;
    const C t12 = static_cast<R>(Entry) * beta * jackpot;
    const C t21 = (one - static_cast<R>(Keep)) * gamma;
    const C t22 = static_cast<R>(Keep) * gamma;
    p.v = play + jackpot;
    p.a = t11 * p.v + t12;
    const C trace = t11 + t22;
    const C det = t11 * t22 - t12 * t21;
    const C root = std::sqrt(trace * trace - static_cast<R>(4) * det);
    C l1 = (trace + root) / static_cast<R>(2);
    const C other = (trace - root) / static_cast<R>(2);
    if (std::norm(other) > std::norm(l1)) {
        l1 = other;
    }
    const C l2 = l1 == C(0) ? C(0) : det / l1;
    p.b = l2 * p.v;
    p.s1 = std::log(l1);
    const C ratio = l2 / l1;
    p.u = l2 == C(0) ? C(-std::numeric_limits<R>::infinity()) : std::log(ratio);
    // e^u - 1 directly unless it cancels.
    p.expm1u = std::norm(ratio - one) > R(0.25) ? ratio - one : Expm1(p.u);
    p.valid = p.valid && std::isfinite(std::norm(bonus)) && std::isfinite(p.s1.real());
    return p;
}

// A point as kept for many play counts: only log l1 needs the long double.
struct Stored {
    Cx<LD> s1;
    Cx<double> u, expm1u, a, b, v;
};

template <class R> Stored Store(const Point<R>& p) {
    return {Cx<LD>(p.s1),    Cx<double>(p.u), Cx<double>(p.expm1u),
            Cx<double>(p.a), Cx<double>(p.b), Cx<double>(p.v)};
}

// F_N at one point; the power of l1 taken in long double, since near z = 1
// an error of one ulp in log l1 grows N-fold.
Cx<double> Value(const Stored& p, std::int64_t plays) {
    if (plays == 0) {
        return 1.0;
    }
    if (plays == 1) {
        return p.v;
    }
    // e^-60 times the at most k-fold sum is far below the FFT's rounding.
    if (static_cast<double>(plays - 2) * static_cast<double>(p.s1.real()) < -60) {
        return 0.0;
    }
    const LD k = static_cast<LD>(plays - 1);
    const Cx<LD> exponent = (k - 1) * p.s1;
    const LD angle = std::remainder(exponent.imag(), 2 * std::numbers::pi_v<LD>);
    const Cx<double> power =
        std::polar(std::exp(static_cast<double>(exponent.real())), static_cast<double>(angle));
    const Cx<double> g1 = GeometricSum(p.u, p.expm1u, static_cast<double>(k));
    const Cx<double> g0 = GeometricSum(p.u, p.expm1u, static_cast<double>(k - 1));
    return power * (p.a * g1 - p.b * g0);
}

// The pieces at angle theta: a double evaluation, redone in long double where
// the value after `mostPlays` plays is not negligible (the error of the double
// path grows with the plays, so it matters only near z = 1 for long tables).
Stored PointAt(const Weights<double>& wd, const Weights<LD>& wl, Cx<double> z, LD theta,
               std::int64_t mostPlays) {
    const Point<double> fast = Evaluate(wd, z, std::conj(z));
    if (mostPlays > 2 && static_cast<LD>(mostPlays - 2) * fast.s1.real() < PreciseFrom) {
        return Store(fast);
    }
    const Cx<LD> zl = std::polar(1.0L, theta);
    return Store(Evaluate(wl, zl, std::conj(zl)));
}

// log E[t^balance] after `plays` plays, or +infinity where the series diverge.
LD LogMoment(const Weights<LD>& w, LD t, std::int64_t plays) {
    const Point<LD> p = Evaluate(w, Cx<LD>(t), Cx<LD>(1 / t));
    if (!p.valid) {
        return std::numeric_limits<LD>::infinity();
    }
    Cx<LD> value = p.v;
    LD logPower = 0;
    if (plays >= 2) {
        const LD k = static_cast<LD>(plays - 1);
        value = p.a * GeometricSum(p.u, p.expm1u, k) - p.b * GeometricSum(p.u, p.expm1u, k - 1);
        logPower = (k - 1) * p.s1.real();
    }
    if (!(value.real() > 0) || !std::isfinite(value.real())) {
        return std::numeric_limits<LD>::infinity();
    }
    return logPower + std::log(value.real());
}

// The Chernoff bound's edge on one side: the least a with
// P(balance >= a) <= tail (side +1), or the largest b with
// P(balance <= b) <= tail (side -1): min over s of (log M(e^(side s)) - log tail) / s.
LD TailEdge(const Weights<LD>& w, std::int64_t plays, int side, double tail) {
    const LD c = -std::log(static_cast<LD>(tail));
    const auto bound = [&](LD s) { return (LogMoment(w, std::exp(side * s), plays) + c) / s; };
    // The widest s at which the moment exists.
    LD lo = 1e-9L, hi = 1e-9L;
    while (hi < 50 && std::isfinite(bound(hi * 2))) {
        hi *= 2;
    }
    if (hi < 50) {
        LD bad = hi * 2;
        for (int i = 0; i < 60; ++i) {
            const LD mid = (hi + bad) / 2;
            (std::isfinite(bound(mid)) ? hi : bad) = mid;
        }
    }
    if (!std::isfinite(bound(lo))) {
        return std::numeric_limits<LD>::infinity();
    }
    // Golden section on log s: the bound is quasi-convex in s.
    LD x0 = std::log(lo), x1 = std::log(hi);
    const LD g = (std::sqrt(5.0L) - 1) / 2;
    LD a = x1 - g * (x1 - x0), b = x0 + g * (x1 - x0);
    LD fa = bound(std::exp(a)), fb = bound(std::exp(b));
    for (int i = 0; i < 120 && x1 - x0 > 1e-9L; ++i) {
        if (fa <= fb) {
            x1 = b;
            b = a;
            fb = fa;
            a = x1 - g * (x1 - x0);
            fa = bound(std::exp(a));
        } else {
            x0 = a;
            a = b;
            fa = fb;
            b = x0 + g * (x1 - x0);
            fb = bound(std::exp(b));
        }
    }
    return std::min({fa, fb, bound(lo), bound(hi)});
}

struct Window {
    std::int64_t Lowest = 0;
    std::int64_t Highest = 0; // the tail bounds' balances
    std::size_t Points = 1;   // a power of two, at least the width
};

Window WindowFor(const Weights<LD>& w, std::int64_t plays, double tail = TailMass) {
    if (plays == 0) {
        return {0, 0, 2};
    }
    const LD high = TailEdge(w, plays, +1, tail);
    const LD low = -TailEdge(w, plays, -1, tail);
    const LD width = std::ceil(high) - std::floor(low) + 1;
    if (!std::isfinite(width) || width > static_cast<LD>(std::size_t{1} << 40)) {
        return {0, 0, std::numeric_limits<std::size_t>::max()};
    }
    std::size_t points = 64;
    while (static_cast<LD>(points) < width) {
        points <<= 1;
    }
    return {static_cast<std::int64_t>(std::floor(low)), static_cast<std::int64_t>(std::ceil(high)),
            points};
}

// The half spectrum needed for a real inverse transform of size k = 2m, from
// F at the angles 2 pi j / k, j = 0 .. m: Y_j = E_j + i O_j with E and O the
// transforms of the even and odd balances.
// Calls work(i) for i < count on `threads` threads, each index once.
template <class Work> void Share(std::size_t count, int threads, Work&& work) {
    std::atomic<std::size_t> next{0};
    const auto loop = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::jthread> helpers;
    for (int t = 1; t < threads && static_cast<std::size_t>(t) < count; ++t) {
        helpers.emplace_back(loop);
    }
    loop();
}

// Each pair of mirrored points is worked out on its own, so `threads` share
// them in chunks and the values are the same for any count.
template <class At>
std::vector<Cx<double>> HalfSpectrum(std::size_t k, At&& valueAt, int threads = 1) {
    const std::size_t m = k / 2;
    std::vector<Cx<double>> y(m);
    const Cx<double> i(0.0, 1.0);
    constexpr std::size_t Chunk = 2048;
    const std::size_t pairs = m / 2 + 1;
    Share((pairs + Chunk - 1) / Chunk, threads, [&](std::size_t c) {
        for (std::size_t j = c * Chunk; j < std::min(pairs, (c + 1) * Chunk); ++j) {
            const std::size_t mirror = m - j;
            const Cx<double> zj = std::polar(1.0, 2.0 * std::numbers::pi * static_cast<double>(j) /
                                                      static_cast<double>(k));
            const Cx<double> fj = valueAt(j, zj);
            const Cx<double> fm = mirror == j ? fj : valueAt(mirror, -std::conj(zj));
            y[j] = 0.5 * (std::conj(fj) + fm) + i * 0.5 * (std::conj(fj) - fm) * zj;
            if (mirror != j && mirror < m) {
                const Cx<double> zm = -std::conj(zj);
                y[mirror] = 0.5 * (std::conj(fm) + fj) + i * 0.5 * (std::conj(fm) - fj) * zm;
            }
        }
    });
    return y;
}

// The table from the inverse transform of the half spectrum.
BalanceTable TableFrom(std::vector<Cx<double>> half, const Window& win, std::int64_t plays) {
    std::vector<Cx<double>> y(half.size());
    {
        const kissfft<double> inverse(half.size(), true);
        inverse.transform(half.data(), y.data());
    }
    half = {};
    const std::size_t k = win.Points;
    const double scale = 1.0 / static_cast<double>(y.size());
    const auto mass = [&](std::int64_t balance) {
        const auto n = static_cast<std::size_t>(
            ((balance % static_cast<std::int64_t>(k)) + static_cast<std::int64_t>(k)) %
            static_cast<std::int64_t>(k));
        return (n % 2 == 0 ? y[n / 2].real() : y[n / 2].imag()) * scale;
    };
    // The window's ends lie past the tail bounds; only the padding up to a
    // power of two is cut, at both ends, where the mass is rounding noise.
    std::int64_t first = win.Lowest;
    std::int64_t last = win.Highest;
    while (first < last && mass(first) <= 0.0) {
        ++first;
    }
    while (last > first && mass(last) <= 0.0) {
        --last;
    }
    BalanceTable t;
    t.Plays = plays;
    t.Lowest = first;
    t.Probability.reserve(static_cast<std::size_t>(last - first + 1));
    long double sum = 0, moment = 0;
    for (std::int64_t b = first; b <= last; ++b) {
        const double p = mass(b);
        t.Probability.push_back(p);
        sum += p;
        moment += static_cast<long double>(p) * b;
    }
    y = {};
    const long double mean = moment / sum;
    long double square = 0;
    for (std::size_t j = 0; j < t.Probability.size(); ++j) {
        const long double d = static_cast<long double>(first + static_cast<std::int64_t>(j)) - mean;
        square += t.Probability[j] * d * d;
    }
    t.Mean = static_cast<double>(mean);
    t.Sd = static_cast<double>(std::sqrt(square / sum));
    return t;
}

BalanceTable PointMass(std::int64_t plays) {
    BalanceTable t;
    t.Plays = plays;
    t.Probability = {1.0};
    return t;
}

} // namespace

double BalanceTable::At(std::int64_t balance) const {
    if (balance < Lowest || balance > Highest()) {
        return 0.0;
    }
    return Probability[static_cast<std::size_t>(balance - Lowest)];
}

double BalanceTable::Cumulative(std::int64_t balance) const {
    long double sum = 0;
    const std::int64_t end = std::min(balance, Highest());
    for (std::int64_t b = Lowest; b <= end; ++b) {
        sum += Probability[static_cast<std::size_t>(b - Lowest)];
    }
    return static_cast<double>(sum);
}

double BalanceTable::PAhead() const {
    long double sum = 0;
    for (std::int64_t b = std::max<std::int64_t>(Lowest, 1); b <= Highest(); ++b) {
        sum += Probability[static_cast<std::size_t>(b - Lowest)];
    }
    return static_cast<double>(sum);
}

std::int64_t BalanceTable::Quantile(double q) const {
    long double sum = 0;
    for (std::size_t j = 0; j < Probability.size(); ++j) {
        sum += Probability[j];
        if (sum >= q) {
            return Lowest + static_cast<std::int64_t>(j);
        }
    }
    return Highest();
}

TableTooLarge::TableTooLarge(std::size_t needed, std::size_t allowed)
    : std::length_error("exact table needs " + std::to_string(needed) + " points, at most " +
                        std::to_string(allowed) + " allowed"),
      Needed_(needed) {}

ExactBalance::ExactBalance(double border) {
    const PocketChances c = PocketChancesForWeight(Slot::BorderWeight(border));
    P0_ = c.Start;
    P1_ = c.Attacker;
    P2_ = c.Extra;
}

std::size_t ExactBalance::PointsFor(std::int64_t plays) const {
    return WindowFor(Weights<LD>{P0_, P1_, P2_}, plays).Points;
}

BalanceTable ExactBalance::Distribution(std::int64_t plays, int threads) const {
    const Weights<double> wd{P0_, P1_, P2_};
    const Weights<LD> wl{P0_, P1_, P2_};
    const Window win = WindowFor(wl, plays);
    if (win.Points > MaxPoints) {
        throw TableTooLarge(win.Points, MaxPoints);
    }
    if (plays == 0) {
        return PointMass(0);
    }
    const LD step = 2 * std::numbers::pi_v<LD> / static_cast<LD>(win.Points);
    auto y = HalfSpectrum(
        win.Points,
        [&](std::size_t j, Cx<double> z) {
            return Value(PointAt(wd, wl, z, step * static_cast<LD>(j), plays), plays);
        },
        threads);
    return TableFrom(std::move(y), win, plays);
}

namespace {

// P(balance <= b) from the few non-negligible values F_j on the grid of the
// window: the sum over j of F_j times the closed-form sum of e^(-i theta_j k)
// for k from the window's lowest balance L to b,
//   e^(-i theta L) (1 - e^(-i theta (b - L + 1))) / (1 - e^(-i theta)).
// Phases are reduced in integers, so balances in the millions lose nothing.
class SparseCumulative {
public:
    SparseCumulative(const std::vector<std::pair<std::size_t, Cx<double>>>& values,
                     const Window& win)
        : Win_(win) {
        for (const auto& [index, f] : values) {
            const auto j = static_cast<std::int64_t>(index);
            if (j == 0) {
                Mass_ = f.real();
                continue;
            }
            const double weight = 2 * index == win.Points ? 1.0 : 2.0;
            const Cx<double> c = weight * f * std::polar(1.0, Angle(j, win.Lowest)) /
                                 (1.0 - std::polar(1.0, Angle(j, 1)));
            Terms_.push_back({j, c});
            Constant_ += c.real();
        }
    }

    double At(std::int64_t balance) const {
        const std::int64_t count = balance - Win_.Lowest + 1;
        long double sum = Mass_ * static_cast<double>(count) + Constant_;
        // Neighbouring terms differ by one step of the phase: a product
        // instead of a sine and cosine, renewed at every gap.
        const Cx<double> step = std::polar(1.0, Angle(1, count));
        Cx<double> phase;
        std::int64_t last = -2;
        for (const Term& t : Terms_) {
            phase = t.j == last + 1 ? phase * step : std::polar(1.0, Angle(t.j, count));
            last = t.j;
            sum -= (t.c * phase).real();
        }
        return static_cast<double>(sum / static_cast<long double>(Win_.Points));
    }

private:
    struct Term {
        std::int64_t j;
        Cx<double> c;
    };
    double Angle(std::int64_t j, std::int64_t n) const {
        const auto k = static_cast<std::int64_t>(Win_.Points);
        const std::int64_t r = ((j * n) % k + k) % k;
        return -2.0 * std::numbers::pi * static_cast<double>(r) / static_cast<double>(k);
    }
    Window Win_;
    double Mass_ = 0.0;
    long double Constant_ = 0;
    std::vector<Term> Terms_;
};

// The five points of one window: from its few non-negligible values directly
// when they are few (long tables, whose spectrum is narrow), else through
// the whole table.
template <class ValueAt>
BandPoints PointsOf(const Window& win, std::int64_t plays, const ValueAt& valueAt) {
    const std::size_t m = win.Points / 2;
    std::vector<std::pair<std::size_t, Cx<double>>> values;
    for (std::size_t j = 0; j <= m; ++j) {
        const Cx<double> f = valueAt(j);
        if (f != Cx<double>(0)) {
            values.emplace_back(j, f);
        }
    }
    BandPoints band{};
    // About 100 sums for the five searches against one transform of m points.
    if (values.size() * 25 < m) {
        const SparseCumulative cumulative(values, win);
        for (std::size_t q = 0; q < band.size(); ++q) {
            std::int64_t below = win.Lowest - 1;
            std::int64_t above = win.Lowest + static_cast<std::int64_t>(win.Points) - 1;
            while (above - below > 1) {
                const std::int64_t mid = below + (above - below) / 2;
                (cumulative.At(mid) >= BandLevels[q] ? above : below) = mid;
            }
            band[q] = above;
        }
        return band;
    }
    const BalanceTable t =
        TableFrom(HalfSpectrum(win.Points, [&](std::size_t j, Cx<double>) { return valueAt(j); }),
                  win, plays);
    for (std::size_t q = 0; q < band.size(); ++q) {
        band[q] = t.Quantile(BandLevels[q]);
    }
    return band;
}

} // namespace

std::vector<BandPoints> ExactBalance::Bands(const std::vector<std::int64_t>& plays,
                                            int threads) const {
    const Weights<double> wd{P0_, P1_, P2_};
    const Weights<LD> wl{P0_, P1_, P2_};
    std::vector<Window> windows;
    std::size_t grid = 2;
    std::int64_t most = 0;
    for (const std::int64_t n : plays) {
        windows.push_back(WindowFor(wl, n, BandTailMass));
        if (windows.back().Points > MaxBandPoints) {
            throw TableTooLarge(windows.back().Points, MaxBandPoints);
        }
        grid = std::max(grid, windows.back().Points);
        most = std::max(most, n);
    }
    // One grid for the widest table; a narrower one takes every 2^j-th point.
    const LD step = 2 * std::numbers::pi_v<LD> / static_cast<LD>(grid);
    std::vector<Stored> points(grid / 2 + 1);
    constexpr std::size_t Chunk = 4096;
    Share((points.size() + Chunk - 1) / Chunk, threads, [&](std::size_t c) {
        for (std::size_t j = c * Chunk; j < std::min(points.size(), (c + 1) * Chunk); ++j) {
            const LD theta = step * static_cast<LD>(j);
            points[j] = PointAt(wd, wl, std::polar(1.0, static_cast<double>(theta)), theta, most);
        }
    });
    std::vector<BandPoints> out(plays.size());
    Share(plays.size(), threads, [&](std::size_t i) {
        if (plays[i] == 0) {
            return;
        }
        const std::size_t stride = grid / windows[i].Points;
        const auto valueAt = [&](std::size_t j) { return Value(points[j * stride], plays[i]); };
        out[i] = PointsOf(windows[i], plays[i], valueAt);
    });
    return out;
}

ExactOdds OddsFrom(const BalanceTable& table) {
    ExactOdds o;
    o.Plays = table.Plays;
    o.PAhead = table.PAhead();
    o.Mean = table.Mean;
    o.Sd = table.Sd;
    o.PNoFirstHit = NoFirstHitChance(table.Plays);
    for (std::size_t q = 0; q < BandLevels.size(); ++q) {
        o.Quantiles[q] = table.Quantile(BandLevels[q]);
    }
    return o;
}

double NoFirstHitChance(std::int64_t plays) {
    return static_cast<double>(std::pow(1.0L - Hit, static_cast<LD>(plays)));
}

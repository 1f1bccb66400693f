#include "results/ResultTexts.h"

#include "results/InputChecks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// A non-negative decimal: digits d0 d1 ... meaning d0.d1d2... x 10^Exponent.
// No digits means zero. Trailing zeros are kept out of Digits.
struct Decimal {
    std::string Digits;
    int Exponent = 0;
    bool IsZero() const { return Digits.empty(); }
};

void StripTrailingZeros(Decimal& d) {
    while (!d.Digits.empty() && d.Digits.back() == '0') {
        d.Digits.pop_back();
    }
}

// The exact decimal expansion of |x| (finite x); 767 digits cover every double.
// Written without the C library's printf, whose decimal point follows the
// process locale (a comma under de_DE).
Decimal ExactDecimal(double x) {
    std::array<char, 1024> buf{};
    const auto written = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(x),
                                       std::chars_format::scientific, 800);
    Decimal d;
    const char* p = buf.data();
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.Digits.push_back(*p);
        }
    }
    ++p;
    const bool negative = *p == '-';
    int exponent = 0;
    std::from_chars(p + 1, written.ptr, exponent);
    d.Exponent = negative ? -exponent : exponent;
    StripTrailingZeros(d);
    if (d.IsZero()) {
        d.Exponent = 0;
    }
    return d;
}

// Rounds to a multiple of 10^position, halves away from zero.
Decimal RoundAt(Decimal d, int position) {
    if (d.IsZero()) {
        return d;
    }
    const long keep = static_cast<long>(d.Exponent) - position + 1;
    if (keep >= static_cast<long>(d.Digits.size())) {
        return d;
    }
    if (keep < 0) {
        return {};
    }
    const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.Digits.size();
        while (i > 0 && d.Digits[i - 1] == '9') {
            d.Digits[--i] = '0';
        }
        if (i == 0) {
            // Every kept digit carried (or none was kept): the value becomes 10^(position + keep).
            d.Digits.insert(d.Digits.begin(), '1');
            d.Exponent = position + static_cast<int>(keep);
            d.Digits.resize(1);
        } else {
            ++d.Digits[i - 1];
        }
    }
    StripTrailingZeros(d);
    if (d.IsZero()) {
        d.Exponent = 0;
    }
    return d;
}

char DigitAt(const Decimal& d, int power) {
    const long index = static_cast<long>(d.Exponent) - power;
    if (index < 0 || index >= static_cast<long>(d.Digits.size())) {
        return '0';
    }
    return d.Digits[static_cast<std::size_t>(index)];
}

std::string IntegerPart(const Decimal& d) {
    if (d.IsZero() || d.Exponent < 0) {
        return "0";
    }
    std::string s;
    for (int p = d.Exponent; p >= 0; --p) {
        s.push_back(DigitAt(d, p));
    }
    return s;
}

// Digits with the point after the first, "E" and the exponent ("-" only when negative).
std::string Scientific(const Decimal& d) {
    std::string s(1, d.Digits[0]);
    if (d.Digits.size() > 1) {
        s += '.';
        s.append(d.Digits, 1);
    }
    return s + "E" + std::to_string(d.Exponent);
}

std::string NonFinite(double x) {
    if (std::isnan(x)) {
        return "NAN";
    }
    return x < 0 ? "-INF" : "INF";
}

std::string Int(std::int64_t v) {
    return std::to_string(v);
}

} // namespace

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

std::string FormatAverage(float value) {
    const double x = value;
    if (!std::isfinite(x)) {
        return NonFinite(x);
    }
    const Decimal exact = ExactDecimal(x);
    // Two decimals or five significant digits, whichever keeps fewer.
    const Decimal r = RoundAt(exact, std::max(-2, exact.Exponent - 4));
    if (r.IsZero()) {
        return "0.00";
    }
    const std::string sign = x < 0 ? "-" : "";
    if (r.Exponent >= 5) {
        return sign + Scientific(r);
    }
    return sign + IntegerPart(r) + "." + DigitAt(r, -1) + DigitAt(r, -2);
}

std::string FormatGeneral15(double value) {
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    const Decimal exact = ExactDecimal(value);
    if (exact.IsZero()) {
        return "0";
    }
    const Decimal r = RoundAt(exact, exact.Exponent - 14);
    const std::string sign = value < 0 ? "-" : "";
    if (r.Exponent >= 15 || r.Exponent < -4) {
        return sign + Scientific(r);
    }
    std::string s = sign + IntegerPart(r);
    const int lowest = r.Exponent - static_cast<int>(r.Digits.size()) + 1;
    if (lowest < 0) {
        s += '.';
        for (int p = -1; p >= lowest; --p) {
            s.push_back(DigitAt(r, p));
        }
    }
    return s;
}

std::string SummaryText(int firstHits, std::int64_t bonuses, std::size_t recordCount,
                        std::int32_t lastBalance, double rate) {
    float p = 0.0f;
    float a = 0.0f;
    if (bonuses != 0 && firstHits != 0) {
        p = static_cast<float>(static_cast<double>(recordCount) / firstHits);
        a = static_cast<float>(static_cast<double>(bonuses) / firstHits);
    }
    const double yen = static_cast<double>(lastBalance) * rate;
    return "初当り数:" + Int(firstHits) + "\u3000バトルボーナス数:" + Int(bonuses) +
           "\n初当り確率:1/" + FormatAverage(p) + "\n継続数平均:" + FormatAverage(a) +
           "\n出玉数:" + Int(lastBalance) + "  収支:" + FormatGeneral15(yen) + "円";
}

std::string SummaryText(const ChainStats& stats, const RunRecords& records, double rate) {
    const std::int32_t last = records.BallCounts.empty() ? 0 : records.BallCounts.back();
    return SummaryText(stats.FirstHitCount, stats.BonusCount, records.Size(), last, rate);
}

std::string SummaryForRecords(const RunRecords& records, double rate) {
    return SummaryText(ComputeChainStats(records), records, rate);
}

std::string PlayText(const RunRecords& records, std::size_t i) {
    return Int(records.PlayNumbers.at(i));
}

std::string Play2Text(const RunRecords& records, std::size_t i) {
    return Int(records.SinceHitPlays.at(i));
}

std::string BallText(const RunRecords& records, std::size_t i) {
    return Int(records.BallCounts.at(i));
}

std::string OutcomeText(std::int32_t hitState) {
    return HitState{hitState} != HitState::None ? "大当たり" : "XXX";
}

std::string ChanceText(std::int32_t hitState, std::int32_t chainCount) {
    switch (HitState{hitState}) {
    case HitState::SingleBonus:
        return "敗北";
    case HitState::Chance:
        return "突入(" + Int(chainCount) + ")";
    case HitState::None:
        break;
    }
    return {};
}

std::int64_t GainedBalls(const RunRecords& records, std::size_t i) {
    if (!IsChainEnd(records, i) || records.BallCounts.size() != records.HitStates.size() ||
        records.ChainCounts.size() != records.HitStates.size()) {
        return 0;
    }
    const std::int64_t c = records.ChainCounts[i];
    const std::int64_t s = static_cast<std::int64_t>(i) + 1;
    if (c < 1 || s - c < 0) {
        return 0;
    }
    return static_cast<std::int64_t>(records.BallCounts[static_cast<std::size_t>(s)]) -
           records.BallCounts[static_cast<std::size_t>(s - c)];
}

std::string KeizokuCaption(int k) {
    return k >= KeizokuBucketCount ? "30回以上" : Int(k) + "回";
}

std::string KeizokuPercentText(int count, int total) {
    if (total <= 0) {
        return "0";
    }
    // Two conversions, as the table shows them: the share as text, then that text times 100.
    const std::string share = FormatGeneral15(static_cast<double>(count) / total);
    double back = 0.0;
    std::from_chars(share.data(), share.data() + share.size(), back);
    return FormatGeneral15(back * 100.0);
}

BonusRow BonusRowAt(const RunRecords& records, std::size_t i) {
    return {i, PlayText(records, i), Play2Text(records, i),
            ChanceText(records.HitStates.at(i), records.ChainCounts.at(i)),
            Int(GainedBalls(records, i))};
}

std::vector<BonusRow> BonusRows(const RunRecords& records) {
    std::vector<BonusRow> rows;
    const std::size_t n = records.HitStates.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (IsChainEnd(records, i)) {
            rows.push_back(BonusRowAt(records, i));
        }
    }
    return rows;
}

std::vector<KeizokuRow> KeizokuRows(const ChainStats& stats) {
    int total = 0;
    for (const int v : stats.KeizokuBuckets) {
        total += v;
    }
    std::vector<KeizokuRow> rows;
    for (int k = 1; k <= KeizokuBucketCount; ++k) {
        const int v = stats.KeizokuBuckets[static_cast<std::size_t>(k - 1)];
        if (v != 0) {
            rows.push_back({k, v, KeizokuCaption(k), Int(v), KeizokuPercentText(v, total)});
        }
    }
    return rows;
}

std::string ValidateRecords(const RunRecords& records) {
    if (!records.SameLengths()) {
        return BrokenRecordsText;
    }
    const std::size_t n = records.Size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!IsHitState(records.HitStates[i])) {
            return BrokenRecordsText;
        }
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (IsChainEnd(records, i)) {
            const std::int64_t c = records.ChainCounts[i];
            if (c < 1 || static_cast<std::int64_t>(i) + 1 - c < 0) {
                return BrokenRecordsText;
            }
        }
    }
    return {};
}

std::string ValidateHeader(const RunFileHeader& header) {
    const bool finite = std::isfinite(header.Border) && std::isfinite(header.Rate) &&
                        std::fabs(header.Rate) <= RateLimit;
    return finite ? std::string() : ForeignFileText;
}

std::string ReadFailureText(ReadStatus status) {
    switch (status) {
    case ReadStatus::Ok:
    case ReadStatus::CannotOpen:
        return {};
    case ReadStatus::TooShortForTag:
    case ReadStatus::ForeignTag:
    case ReadStatus::TooShortForHeader:
        return ForeignFileText;
    case ReadStatus::ReadFailed:
        return ReadErrorText;
    }
    return ForeignFileText;
}

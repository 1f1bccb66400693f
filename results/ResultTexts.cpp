#include "results/ResultTexts.h"

#include "numfmt/NumberFormats.h"
#include "results/InputChecks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {
std::string Int(std::int64_t v) {
    return std::to_string(v);
}

} // namespace

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

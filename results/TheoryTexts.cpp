#include "results/TheoryTexts.h"

#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

std::vector<TheoryRow> MachineTheoryRows(double border, const MachineTheory& t) {
    return {
        {"ボーダー", FormatGeneral15(border) + "回/1000円"},
        {"スタート入賞の重み", std::to_string(t.Weight) + "/65536"},
        {"初当り確率", "1/" + FixedText(t.PlaysPerFirstHit, 2)},
        {"継続数平均", FixedText(t.BonusesPerFirstHit, 2)},
        {"バトルボーナス1回の出玉", FixedText(t.BallsPerBonus, 1) + "玉"},
        {"1回転あたりの打ち出し", FixedText(t.ShotsPerPlay, 2) + "発"},
        {"1回転あたりの期待収支", FixedText(t.BallsPerPlay, 3) + "玉"},
        {"1回転あたりの標準偏差", FixedText(t.SdPerSqrtPlay, 1) + "玉"},
        {"ボーダー(損益分岐)", FixedText(t.BreakEvenBorder, 2) + "回/1000円"},
    };
}

std::string ChanceText(double p) {
    if (p > 0.0 && p < 0.0001) {
        return "0.01%未満";
    }
    return FixedText(p * 100.0, 2) + "%";
}

const char* BandLevelName(std::size_t level) {
    static const char* const names[] = {"5%点", "25%点", "中央値", "75%点", "95%点"};
    return level < std::size(names) ? names[level] : "";
}

std::vector<TheoryRow> OutlookRows(std::int64_t plays, double rate, const PlayOutlook& o,
                                   const ExactOdds& exact) {
    const std::string n = std::to_string(plays) + "回転";
    std::vector<TheoryRow> rows = {
        {n + "の期待収支", FixedText(o.MeanBalance, 0) + "玉 (" + FixedText(o.MeanYen, 0) + "円)"},
        {n + "の標準偏差", FixedText(o.SdBalance, 0) + "玉 (" + FixedText(o.SdYen, 0) + "円)"},
        {n + "で勝っている確率(厳密)", FixedText(exact.PAhead * 100.0, 1) + "%"},
    };
    for (std::size_t q = 0; q < exact.Quantiles.size(); ++q) {
        const double b = static_cast<double>(exact.Quantiles[q]);
        rows.push_back({n + "後の出玉 " + BandLevelName(q) + "(厳密)",
                        FixedText(b, 0) + "玉 (" + FixedText(b * rate, 0) + "円)"});
    }
    rows.push_back({n + "で初当りがない確率", ChanceText(exact.PNoFirstHit)});
    rows.push_back({"交換レート", FormatGeneral15(rate) + "円/玉"});
    return rows;
}

std::vector<TheoryRow> DroughtRows() {
    std::vector<TheoryRow> rows;
    for (const int n : DroughtPlays) {
        rows.push_back({std::to_string(n) + "回転まで初当りなし", ChanceText(NoFirstHitChance(n))});
    }
    return rows;
}

std::string DistributionCsv(const BalanceTable& table) {
    constexpr double Shown = 1e-15;
    std::int64_t first = table.Lowest;
    std::int64_t last = table.Highest();
    while (first < last && !(table.At(first) > Shown)) {
        ++first;
    }
    while (last > first && !(table.At(last) > Shown)) {
        --last;
    }
    std::string out = "\xEF\xBB\xBF"
                      "balance,probability,cumulative\r\n";
    out.reserve(out.size() + static_cast<std::size_t>(last - first + 1) * 48);
    long double cumulative = table.Cumulative(first - 1);
    // Shortest text that reads back to the same double, whatever the locale.
    char row[96];
    const auto put = [](char* at, char* end, auto value) {
        return std::to_chars(at, end, value).ptr;
    };
    for (std::int64_t b = first; b <= last; ++b) {
        const double p = table.At(b);
        cumulative += p;
        char* at = put(row, row + sizeof row, static_cast<long long>(b));
        *at++ = ',';
        at = put(at, row + sizeof row, p);
        *at++ = ',';
        at = put(at, row + sizeof row, static_cast<double>(cumulative));
        *at++ = '\r';
        *at++ = '\n';
        out.append(row, static_cast<std::size_t>(at - row));
    }
    return out;
}

std::string TheoryRowsText(const std::vector<TheoryRow>& rows) {
    std::string text;
    for (const TheoryRow& row : rows) {
        text += row.Name + ":" + row.Value + "\n";
    }
    return text;
}

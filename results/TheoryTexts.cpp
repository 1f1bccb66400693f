#include "results/TheoryTexts.h"

#include "results/ResultTexts.h"

#include <array>
#include <charconv>
#include <cmath>

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "-";
    }
    // to_chars, not printf: the point must not follow the process locale.
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, decimals);
    std::string text(buffer.data(), written.ptr);
    // Never "-0.00": a value that rounds to zero reads as zero.
    if (text.find_first_of("123456789") == std::string::npos && text[0] == '-') {
        text.erase(0, 1);
    }
    return text;
}

std::vector<TheoryRow> MachineTheoryRows(double border, const MachineTheory& t) {
    return {
        {"ボーダー", FormatGeneral15(border) + "回/1000円"},
        {"スタート入賞の重み", std::to_string(t.weight) + "/65536"},
        {"初当り確率", "1/" + FixedText(t.plays_per_first_hit, 2)},
        {"継続数平均", FixedText(t.bonuses_per_first_hit, 2)},
        {"バトルボーナス1回の出玉", FixedText(t.balls_per_bonus, 1) + "玉"},
        {"1回転あたりの打ち出し", FixedText(t.shots_per_play, 2) + "発"},
        {"1回転あたりの期待収支", FixedText(t.balls_per_play, 3) + "玉"},
        {"1回転あたりの標準偏差", FixedText(t.sd_per_sqrt_play, 1) + "玉"},
        {"ボーダー(損益分岐)", FixedText(t.break_even_border, 2) + "回/1000円"},
    };
}

std::vector<TheoryRow> OutlookRows(std::int64_t plays, double rate, const PlayOutlook& o) {
    const std::string n = std::to_string(plays) + "回転";
    return {
        {n + "の期待収支",
         FixedText(o.mean_balance, 0) + "玉 (" + FixedText(o.mean_yen, 0) + "円)"},
        {n + "の標準偏差", FixedText(o.sd_balance, 0) + "玉 (" + FixedText(o.sd_yen, 0) + "円)"},
        {n + "で勝っている確率", FixedText(o.p_ahead * 100.0, 1) + "%"},
        {"交換レート", FormatGeneral15(rate) + "円/玉"},
    };
}

std::string TheoryRowsText(const std::vector<TheoryRow>& rows) {
    std::string text;
    for (const TheoryRow& row : rows) {
        text += row.Name + ":" + row.Value + "\n";
    }
    return text;
}

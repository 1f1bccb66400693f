#include "results/InputChecks.h"

#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"
#include "stats/BalanceLimit.h"

#include <array>
#include <charconv>
#include <cmath>

double BorderAsRead(double border) {
    if (!std::isfinite(border)) {
        return border;
    }
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), border,
                                       std::chars_format::general, 15);
    double read = border;
    std::from_chars(text.data(), written.ptr, read);
    return read;
}

std::string CheckBorder(double border) {
    if (!(border >= 1.0)) {
        return BorderMinRefusal;
    }
    if (!(border < BorderLimit)) {
        return BorderMaxRefusal;
    }
    return {};
}

std::string CheckBalanceRange(int plays, double border) {
    const MachineTheory theory = TheoryForBorder(border);
    if (BalanceFits(theory, plays)) {
        return {};
    }
    return "Play数が大きすぎて、出玉数が記録できる範囲(±2147483647玉)を超えるおそれがあります。"
           "ボーダー" +
           FormatGeneral15(border) + "では、Play数を" +
           std::to_string(MaxPlaysWithinBalance(theory)) + "以下にしてください。";
}

std::string CheckStartInputs(const std::string& plays, const std::string& runs,
                             const std::string& rate, const std::string& border, StartInputs& out) {
    out.PlayCount = StrToInt(plays);
    if (out.PlayCount <= 0) {
        return PlayCountRefusal;
    }
    out.Runs = StrToInt(runs);
    if (out.Runs <= 0) {
        return RunCountRefusal;
    }
    out.Rate = StrToFloat(rate);
    if (!(out.Rate >= 0.0)) {
        return RateRefusal;
    }
    if (!(out.Rate <= RateLimit)) {
        return RateMaxRefusal;
    }
    out.Border = BorderAsRead(StrToFloat(border));
    return CheckBorder(out.Border);
}

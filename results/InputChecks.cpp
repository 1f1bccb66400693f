#include "results/InputChecks.h"

#include "numfmt/Conversions.h"

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
    out.Border = StrToFloat(border);
    if (!(out.Border >= 1.0)) {
        return BorderMinRefusal;
    }
    if (!(out.Border < BorderLimit)) {
        return BorderMaxRefusal;
    }
    return {};
}

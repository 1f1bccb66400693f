#include "runs/FinalFigures.h"

#include "numfmt/NumberFormats.h"

std::string FinalFiguresText(const Accumulator& finals, double rate) {
    const double figures[] = {finals.Mean(), finals.Percentile(0.5), finals.Percentile(0.05),
                              finals.Percentile(0.95)};
    const char* names[] = {"平均:", "  中央値:", "  5%点:", "  95%点:"};
    std::string text = "最終出玉数 ";
    for (int k = 0; k < 4; ++k)
        text += names[k] + FormatGeneral15(figures[k]);
    text += "\n最終収支(円) ";
    for (int k = 0; k < 4; ++k)
        text += names[k] + FormatGeneral15(figures[k] * rate);
    return text + "\nプラス収支の割合(%):" + FormatGeneral15(finals.ShareAhead() * 100.0);
}

#pragma once
// The cross-run lines a batch reports, the same in the window and the companion.

#include "runs/Accumulator.h"

#include <string>

// "最終出玉数 平均:… 中央値:… 5%点:… 95%点:…", the same in yen with `rate`,
// and the share of runs ahead, on three lines without a final line feed.
// Requires at least one value.
std::string FinalFiguresText(const Accumulator& finals, double rate);

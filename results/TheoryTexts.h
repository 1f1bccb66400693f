#pragma once
// The theory's figures as a Japanese player reads them: one name and one value
// per row, shared by the companion's text output and the window's dialog.

#include "stats/ExactBalance.h"
#include "stats/Theory.h"

#include <cstdint>
#include <string>
#include <vector>

struct TheoryRow {
    std::string Name;
    std::string Value;
};

// The machine's long-run figures at one border.
std::vector<TheoryRow> MachineTheoryRows(double border, const MachineTheory& theory);

// What `plays` plays at `rate` yen per ball bring: the long-run mean and
// spread, then the exact chance of being ahead, the five points of the final
// balance and the chance of no first hit.
std::vector<TheoryRow> OutlookRows(std::int64_t plays, double rate, const PlayOutlook& outlook,
                                   const ExactOdds& exact);

// The drought table: the chance that the first hit takes longer than n plays.
std::vector<TheoryRow> DroughtRows();

// Names of the five points of BandLevels: "5%点" ... "95%点", the middle "中央値".
const char* BandLevelName(std::size_t level);

// A chance as a percentage with two decimals ("0.01%未満" when smaller).
std::string ChanceText(double p);

// Refusal when the exact table would not fit.
inline constexpr const char* ExactTooLargeText =
    "このボーダーとPlay数では正確な分布の表が大きすぎて計算できません。"
    "Play数を減らすか、ボーダーを下げてください。";

// The whole table as CSV (byte-order mark, CRLF): "balance,probability,cumulative",
// then every balance from the lowest to the highest whose probability is above
// 1e-15, at full double precision.
std::string DistributionCsv(const BalanceTable& table);

// Rows as "name:value" lines, each ended by a line feed.
std::string TheoryRowsText(const std::vector<TheoryRow>& rows);

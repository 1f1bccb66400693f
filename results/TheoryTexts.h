#pragma once
// The theory's figures as a Japanese player reads them: one name and one value
// per row, shared by the companion's text output and the window's dialog.

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

// What `plays` plays at `rate` yen per ball are expected to bring.
std::vector<TheoryRow> OutlookRows(std::int64_t plays, double rate, const PlayOutlook& outlook);

// Rows as "name:value" lines, each ended by a line feed.
std::string TheoryRowsText(const std::vector<TheoryRow>& rows);

// Fixed-point text with `decimals` digits after the point ("-1.92").
std::string FixedText(double value, int decimals);

#pragma once
// Where an axis' grid lines and minor ticks go, worked out from the major tick
// pixels before anything is drawn, so the drawing code only draws.

#include <vector>

// Grid lines at the major ticks, or halfway between neighbours when centred;
// only those strictly between the axis ends start and end, so no grid line
// covers the axis line or the wall edge.
std::vector<int> GridLinePositions(const std::vector<int>& ticks, bool centered, int start,
                                   int end);

struct MinorTickPositions {
    // Inside the axis, ends included: a minor tick may sit on the axis end.
    std::vector<int> Ticks;
    // Strictly inside, as for the major grid.
    std::vector<int> GridLines;
};

// count minor ticks divide each gap between neighbouring major ticks, and the
// same spacing continues beyond the first and the last tick. Needs at least two
// major ticks and a positive count; otherwise there are none.
MinorTickPositions LayoutMinorTicks(const std::vector<int>& ticks, int count, int start, int end);

#include "chart/ChartEngine/AxisTickLayout.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include <algorithm>

std::vector<int> GridLinePositions(const std::vector<int>& ticks, bool centered, int start,
                                   int end) {
    std::vector<int> lines;
    auto keep = [&](int p) {
        if (start < p && p < end)
            lines.push_back(p);
    };
    if (centered) {
        for (std::size_t i = 1; i < ticks.size(); ++i)
            keep((ticks[i - 1] + ticks[i]) / 2);
    } else {
        for (int p : ticks)
            keep(p);
    }
    return lines;
}

MinorTickPositions LayoutMinorTicks(const std::vector<int>& ticks, int count, int start, int end) {
    MinorTickPositions result;
    if (ticks.size() < 2 || count <= 0)
        return result;
    std::vector<int> minor;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        const int t1 = ticks[i - 1];
        const int t2 = ticks[i];
        for (int j = 1; j <= count; ++j)
            minor.push_back(t2 - ChartRound(j * (t2 - t1) / double(count + 1)));
    }
    const double firstGap = (ticks[1] - ticks[0]) / double(count + 1);
    const double lastGap = (ticks.back() - ticks[ticks.size() - 2]) / double(count + 1);
    for (int j = 1; j <= count; ++j) {
        minor.push_back(ticks.front() - ChartRound(j * firstGap));
        minor.push_back(ticks.back() + ChartRound(j * lastGap));
    }
    const int lo = std::min(start, end);
    const int hi = std::max(start, end);
    for (int p : minor) {
        if (lo <= p && p <= hi)
            result.Ticks.push_back(p);
        if (lo < p && p < hi)
            result.GridLines.push_back(p);
    }
    return result;
}

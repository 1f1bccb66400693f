#include "chart/Chart/LegendLayout.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include <algorithm>

namespace {

// The gap a visible frame keeps from the chart edge.
int FrameGap(const TLegendMeasure& m) {
    return m.FrameVisible ? m.FrameWidth + 1 : 0;
}

} // namespace

TLegendRowsFit FitLegendRows(const TLegendMeasure& m, int totalItems) {
    TLegendRowsFit fit{m.Position.Y, totalItems};
    if (m.Vertical) {
        fit.Items = 0;
        if (!m.CustomPosition)
            fit.Top = m.Bounds.Top + ChartRound(m.TopPos * (m.Bounds.Bottom - m.Bounds.Top) * 0.01);
        if (fit.Top < m.ChartRect.Bottom && m.ItemHeight > 0)
            fit.Items = std::min(totalItems,
                                 (m.ChartRect.Bottom - 2 * m.FrameWidth - fit.Top) / m.ItemHeight);
    }
    fit.Items = std::max(0, fit.Items);
    return fit;
}

TLegendBox LayoutLegendBox(const TLegendMeasure& m, const TLegendRowsFit& fit, int textBlock,
                           int symbolWidth, bool symbolLeft) {
    TLegendBox out;
    out.ItemWidth = textBlock + 10 + symbolWidth;
    if (fit.Items <= 0)
        return out;
    const TRect& chart = m.ChartRect;
    int left = m.Position.X;
    int top = fit.Top;
    if (m.Vertical) {
        out.Rows = out.Shown = fit.Items;
        if (!m.CustomPosition) {
            if (m.Alignment == laLeft)
                left = chart.Left + FrameGap(m);
            else
                left = chart.Right - m.ShadowWidth - FrameGap(m) - out.ItemWidth;
        }
        out.Box = {left, top, left + out.ItemWidth, top + out.Rows * m.ItemHeight + 2};
    } else {
        const int chartWidth = chart.Right - chart.Left;
        const int columns =
            std::max(1, std::min(fit.Items, chartWidth / std::max(1, out.ItemWidth)));
        out.Rows = std::min(std::max(1, m.MaxNumRows), (fit.Items + columns - 1) / columns);
        out.Shown = std::min(fit.Items, out.Rows * columns);
        out.Columns = (out.Shown + out.Rows - 1) / out.Rows;
        const int width = out.Columns * out.ItemWidth;
        const int height = out.Rows * m.ItemHeight + 2;
        if (!m.CustomPosition) {
            left = (chart.Left + chart.Right) / 2 - width / 2;
            top = m.Alignment == laTop ? chart.Top + FrameGap(m)
                                       : chart.Bottom - height - FrameGap(m);
        }
        out.Box = {left, top, left + width, top + height};
    }
    if (symbolLeft) {
        out.XSymbol = out.Box.Left + 6;
        out.XText = out.Box.Left + symbolWidth + 10;
    } else {
        out.XText = out.Box.Left + 6;
        out.XSymbol = out.Box.Left + textBlock + 6;
    }
    return out;
}

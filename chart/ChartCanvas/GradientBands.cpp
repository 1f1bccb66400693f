#include "chart/ChartCanvas/GradientBands.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Colour of band i of n + 1 between start and end; an uneven balance bends the
// ramp by a power curve.
struct BandColors {
    int R0, G0, B0, DR, DG, DB, N, Balance;
    double Power;
    BandColors(TColor start, TColor end, int n, int balance)
        : R0(GetRValue(start)), G0(GetGValue(start)), B0(GetBValue(start)), DR(GetRValue(end) - R0),
          DG(GetGValue(end) - G0), DB(GetBValue(end) - B0), N(n), Balance(balance),
          Power(balance * 0.015 + 0.5) {}
    TColor operator()(int i) const {
        if (Balance == 50)
            return RGBColor(i * DR / N + R0, i * DG / N + G0, i * DB / N + B0);
        const double f = std::pow(double(i + 1) / double(N + 1), Power);
        return RGBColor(ChartRound(DR * f) + R0, ChartRound(DG * f) + G0, ChartRound(DB * f) + B0);
    }
};

// At most 256 strips across the span, counted from the bottom or right edge.
void StraightBands(const TRect& r, bool vertical, TColor start, TColor end, int balance,
                   TGradientBands& out) {
    const int span = vertical ? r.Height() : r.Width();
    const int bands = std::min(span, 256);
    if (bands - 1 <= 0)
        return;
    const BandColors color(start, end, bands - 1, balance);
    out.Rects.reserve(std::size_t(bands));
    for (int i = 0; i < bands; ++i) {
        const int nearEdge = span * i / bands, farEdge = span * (i + 1) / bands;
        const TRect band = vertical
                               ? TRect{r.Left, r.Bottom - farEdge, r.Right, r.Bottom - nearEdge}
                               : TRect{r.Right - farEdge, r.Top, r.Right - nearEdge, r.Bottom};
        out.Rects.push_back({band, color(i)});
    }
}

// Nested rectangles shrinking by a pixel a side until both halves are used up.
void CentreBands(const TRect& r, TColor start, TColor end, int balance, TGradientBands& out) {
    const int halfW = r.Width() / 2, halfH = r.Height() / 2;
    if (halfW + halfH <= 0)
        return;
    const BandColors color(start, end, halfW + halfH, balance);
    for (int k = 0;; ++k) {
        const int kx = std::min(k, halfW), ky = std::min(k, halfH);
        out.Rects.push_back(
            {{r.Left + kx, r.Top + ky, r.Right - kx, r.Bottom - ky}, color(kx + ky)});
        if (kx == halfW && ky == halfH)
            break;
    }
}

// One-pixel diagonal strips x + y = i from the top-left or bottom-left corner.
void CornerBands(const TRect& r, bool fromTop, TColor start, TColor end, int balance,
                 TGradientBands& out) {
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    const BandColors color(start, end, w + h, balance);
    auto row = [&](int y) { return fromTop ? r.Top + y : r.Bottom - 1 - y; };
    for (int i = 0; i <= w + h - 2; ++i) {
        const int x0 = std::min(i, w - 1), x1 = std::max(0, i - (h - 1));
        const int y0 = i - x0, y1 = i - x1;
        out.Lines.push_back({{r.Left + x0, row(y0)}, {r.Left + x1 - 1, row(y1 + 1)}, color(i)});
    }
}

} // namespace

TGradientBands LinearGradientBands(const TRect& rect, TColor start, TColor end,
                                   TGradientDirection direction, int balance) {
    const TRect r = OrientedRect(rect);
    // The ramp always runs from the bottom or right edge inward.
    if (direction != gdTopBottom && direction != gdLeftRight)
        std::swap(start, end);
    TGradientBands out;
    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
        StraightBands(r, true, start, end, balance, out);
        break;
    case gdLeftRight:
    case gdRightLeft:
        StraightBands(r, false, start, end, balance, out);
        break;
    case gdFromCenter:
        CentreBands(r, start, end, balance, out);
        break;
    case gdFromTopLeft:
    case gdFromBottomLeft:
        CornerBands(r, direction == gdFromTopLeft, start, end, balance, out);
        break;
    case gdRadial:
        break;
    }
    return out;
}

TGradientBands RadialGradientBands(const TRect& rect, TColor start, TColor end, int balance,
                                   int offsetX, int offsetY) {
    const TRect r = OrientedRect(rect);
    TGradientBands out;
    out.Rects.push_back({r, end});
    const int w = r.Width(), h = r.Height();
    int k = std::min(255, std::max(w, h));
    if (w % 2 != 0 || h % 2 != 0)
        --k;
    if (k <= 0)
        return out;
    const int cx = (r.Left + r.Right) / 2 + offsetX + 1;
    const int cy = (r.Top + r.Bottom) / 2 + offsetY + 1;
    const int r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
    const int dr = GetRValue(end) - r0, dg = GetGValue(end) - g0, db = GetBValue(end) - b0;
    const double power = balance * 0.015 + 0.5;
    out.Ellipses.reserve(std::size_t(k + 1));
    for (int i = k; i >= 0; --i) {
        TColor c;
        if (balance == 50) {
            c = RGBColor(r0 + dr * i / k, g0 + dg * i / k, b0 + db * i / k);
        } else {
            const double f = std::pow(double(i + 1) / double(k + 1), power);
            c = RGBColor(r0 + ChartRound(dr * f), g0 + ChartRound(dg * f), b0 + ChartRound(db * f));
        }
        const int rx = w / 2 * i / k, ry = h / 2 * i / k;
        out.Ellipses.push_back({{cx - rx, cy - ry, cx + rx, cy + ry}, c});
    }
    return out;
}

std::vector<TGradientPart> GradientParts(const TRect& rect, TGradientDirection direction,
                                         TColor start, TColor mid, TColor end, int balance) {
    if (mid == clNone)
        return {{rect, start, end, direction, balance}};
    const TRect r = OrientedRect(rect);
    const int midY = (r.Top + r.Bottom) / 2;
    const int midX = (r.Left + r.Right) / 2;
    const TRect upper{r.Left, r.Top, r.Right, midY}, lower{r.Left, midY, r.Right, r.Bottom};
    const TRect left{r.Left, r.Top, midX, r.Bottom}, right{midX, r.Top, r.Right, r.Bottom};
    switch (direction) {
    case gdTopBottom:
        return {{upper, mid, end, direction, 50}, {lower, start, mid, direction, 50}};
    case gdBottomTop:
        return {{upper, start, mid, direction, 50}, {lower, mid, end, direction, 50}};
    case gdLeftRight:
        return {{left, mid, end, direction, 50}, {right, start, mid, direction, 50}};
    case gdRightLeft:
        return {{left, start, mid, direction, 50}, {right, mid, end, direction, 50}};
    default:
        return {{r, start, end, direction, 50}};
    }
}

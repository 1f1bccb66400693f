#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include "chart/ChartCanvas/TChartCanvas.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "platform/DefaultUIFont.h"
#include "platform/DrawContext.h"

#include <algorithm>
#include <cmath>
#include <utility>

int ChartRound(double value) {
    // The default floating-point environment rounds halves to even.
    return int(std::nearbyint(value));
}

TColor ApplyDark(TColor color, int quantity) {
    color = ColorToRGB(color);
    auto dark = [quantity](int channel) { return channel > quantity ? channel - quantity : 0; };
    return RGBColor(dark(GetRValue(color)), dark(GetGValue(color)), dark(GetBValue(color)));
}

TColor ApplyBright(TColor color, int quantity) {
    color = ColorToRGB(color);
    auto bright = [quantity](int channel) { return std::min(255, channel + quantity); };
    return RGBColor(bright(GetRValue(color)), bright(GetGValue(color)), bright(GetBValue(color)));
}

TColor ColorToGray(TColor color) {
    color = ColorToRGB(color);
    const int grey = (GetRValue(color) + GetGValue(color) + GetBValue(color)) / 3;
    return RGBColor(grey, grey, grey);
}

void OrientRectangle(TRect& rect) {
    if (rect.Left > rect.Right)
        std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom)
        std::swap(rect.Top, rect.Bottom);
}

TRect OrientedRect(TRect rect) {
    OrientRectangle(rect);
    return rect;
}

TPoint RectCenter(const TRect& rect) {
    return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
}

bool PointInRect(const TRect& rect, int x, int y) {
    return x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom;
}

bool PointInRect(const TRect& rect, const TPoint& p) {
    return PointInRect(rect, p.X, p.Y);
}

double PointDistance(const TPoint& a, const TPoint& b) {
    return std::hypot(double(b.X - a.X), double(b.Y - a.Y));
}

TPoint PointAtDistance(const TPoint& p0, const TPoint& p1, double distance) {
    const double d = PointDistance(p0, p1);
    if (d == 0)
        return p0;
    return {p0.X + ChartRound((p1.X - p0.X) * distance / d),
            p0.Y + ChartRound((p1.Y - p0.Y) * distance / d)};
}

void ClipCanvas(TChartCanvas& canvas, const TRect& rect) {
    canvas.ClipRectangle(rect);
}
void UnClipCanvas(TChartCanvas& canvas) {
    canvas.UnClipRectangle();
}
void ClipEllipse(TChartCanvas& canvas, const TRect& rect) {
    canvas.ClipEllipse(rect);
}
void ClipRoundRectangle(TChartCanvas& canvas, const TRect& rect, int roundSize) {
    canvas.ClipRoundRectangle(rect, roundSize);
}
void ClipPolygon(TChartCanvas& canvas, const TPointArray& points) {
    canvas.ClipPolygon(points.data(), int(points.size()));
}

static TPenDesc SmallDotsPen(TColor color) {
    TPenDesc pen;
    pen.Color = color;
    pen.Width = 1;
    pen.SmallDots = true;
    return pen;
}

void ChartSetPen(TChartCanvas& canvas, const TChartPen& pen, TColor color) {
    if (pen.SmallDots()) {
        TPenDesc d = SmallDotsPen(color);
        d.Mode = pen.Mode();
        canvas.SetPen(d);
        return;
    }
    TPenDesc d;
    d.Color = color;
    d.Width = pen.Width();
    d.Style = pen.Style();
    d.Mode = pen.Mode();
    if (pen.Width() >= 2) {
        d.Geometric = true;
        switch (pen.EndStyle()) {
        case esRound:
            d.EndCap = pecRound;
            d.Join = pjRound;
            break;
        case esSquare:
            d.EndCap = pecSquare;
            d.Join = pjBevel;
            break;
        case esFlat:
            d.EndCap = pecFlat;
            d.Join = pjMiter;
            break;
        }
    }
    canvas.SetPen(d);
}

namespace {

struct DefaultFont {
    std::string Name;
    int Size;
};

// Read once: the rule looks at the system locale and the platform's UI font.
const DefaultFont& TheDefaultFont() {
    static const DefaultFont font = [] {
        DefaultFont f{"Arial", std::stoi("8")};
        if (SystemLocaleIsJapanese()) {
            const TUIFontInfo ui = DefaultUIFont();
            if (f.Size == 8 && ui.PointSize > 0)
                f.Size = ui.PointSize;
            if (f.Name == "Arial" && !ui.Name.empty())
                f.Name = ui.Name;
        }
        return f;
    }();
    return font;
}

} // namespace

const std::string& GetDefaultFontName() {
    return TheDefaultFont().Name;
}
int GetDefaultFontSize() {
    return TheDefaultFont().Size;
}

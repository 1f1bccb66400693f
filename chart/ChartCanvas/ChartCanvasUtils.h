#pragma once
// Unit-wide values and free helpers of the chart canvas: colours, rectangles,
// points and clipping shortcuts.

#include "platform/GraphicsTypes.h"

#include <string>

class TCanvas3D;
class TChartCanvas;
class TChartPen;
struct TPenDesc;

// Degrees to radians.
constexpr double ChartPiStep = 0.017453292519943295;
constexpr int DarkColorQuantity = 64;
constexpr int DarkerColorQuantity = 128;

// Rounding of computed reals to pixels: nearest, ties to even.
int ChartRound(double value);

// Each channel minus Quantity, floored at 0 (system colours resolved first).
TColor ApplyDark(TColor color, int quantity);
// Each channel plus Quantity, capped at 255.
TColor ApplyBright(TColor color, int quantity);
// The grey of a colour: channel average, integer division.
TColor ColorToGray(TColor color);

// Swaps so Left <= Right and Top <= Bottom.
void OrientRectangle(TRect& rect);
TRect OrientedRect(TRect rect);
TPoint RectCenter(const TRect& rect);
bool PointInRect(const TRect& rect, int x, int y);
bool PointInRect(const TRect& rect, const TPoint& p);
double PointDistance(const TPoint& a, const TPoint& b);
// The point at Distance from P0 on the way to P1 (P0 when they coincide).
TPoint PointAtDistance(const TPoint& p0, const TPoint& p1, double distance);

// Clipping shortcuts over the canvas's one remembered region.
void ClipCanvas(TChartCanvas& canvas, const TRect& rect);
void UnClipCanvas(TChartCanvas& canvas);
void ClipEllipse(TChartCanvas& canvas, const TRect& rect);
void ClipRoundRectangle(TChartCanvas& canvas, const TRect& rect, int roundSize);
void ClipPolygon(TChartCanvas& canvas, const TPointArray& points);

// Applies a chart pen to the platform pen in the given colour (geometric for
// widths of 2 or more, small dots as alternate pixels).
void ChartSetPen(TChartCanvas& canvas, const TChartPen& pen, TColor color);

// Default chart font (set once, on first use): "Arial" 8, or the platform's
// user-interface font name and point size when the system locale's language is
// Japanese.
const std::string& GetDefaultFontName();
int GetDefaultFontSize();

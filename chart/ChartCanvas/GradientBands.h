#pragma once
// The bands a gradient is painted as, worked out before anything is drawn, so
// painting only fills what is listed here and the geometry is testable alone.

#include "chart/ChartCanvas/TCustomChartGradient.h"
#include "platform/GraphicsTypes.h"

#include <vector>

struct TColoredRect {
    TRect Rect;
    TColor Color = clNone;
    friend bool operator==(const TColoredRect&, const TColoredRect&) = default;
};

// A one-pixel pen line from From towards To (the end pixel left out).
struct TColoredLine {
    TPoint From;
    TPoint To;
    TColor Color = clNone;
    friend bool operator==(const TColoredLine&, const TColoredLine&) = default;
};

// Painted in this order: Rects filled, then Ellipses filled without a pen,
// then Lines drawn with a plain pen. Each kind is in painting order.
struct TGradientBands {
    std::vector<TColoredRect> Rects;
    std::vector<TColoredRect> Ellipses;
    std::vector<TColoredLine> Lines;
};

// A straight or corner gradient over rect (oriented first); start and end are
// plain RGB colours. gdRadial gives no bands: see RadialGradientBands.
TGradientBands LinearGradientBands(const TRect& rect, TColor start, TColor end,
                                   TGradientDirection direction, int balance);

// Concentric ellipses from the end colour outside to the start colour at the
// centre, moved by (offsetX, offsetY), over a background of the end colour.
TGradientBands RadialGradientBands(const TRect& rect, TColor start, TColor end, int balance,
                                   int offsetX, int offsetY);

// One straight fill of a gradient with a middle colour.
struct TGradientPart {
    TRect Rect;
    TColor Start = clNone;
    TColor End = clNone;
    TGradientDirection Direction = gdTopBottom;
    int Balance = 50;
    friend bool operator==(const TGradientPart&, const TGradientPart&) = default;
};

// Without a middle colour (clNone) the whole rect is one fill at the given
// balance. With one, a straight gradient becomes two half fills meeting at the
// middle colour, each balanced evenly; other directions ignore the middle.
std::vector<TGradientPart> GradientParts(const TRect& rect, TGradientDirection direction,
                                         TColor start, TColor mid, TColor end, int balance);

#pragma once
// The abstract 2D drawing context the chart engine draws through. It keeps the
// classic desktop conventions the chart formulas assume:
//  - integer pixels, y down;
//  - Rectangle, Ellipse, RoundRect and FillRect cover Left..Right-1 and
//    Top..Bottom-1;
//  - LineTo leaves out its end pixel;
//  - Pie and Arc run counter-clockwise from the start point's angle to the end
//    point's angle (as seen on screen, y down);
//  - shapes are drawn aliased.
// Colours given to the context are RGB words (no system colours); resolve them
// with ColorToRGB first.

#include "platform/GraphicsTypes.h"
#include "platform/SystemColors.h"

#include <memory>
#include <string>
#include <vector>

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNotXor, pmXor, pmNot };
enum TPenEndCap { pecRound, pecSquare, pecFlat };
enum TPenJoin { pjRound, pjBevel, pjMiter };

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// Font style bits.
constexpr int fsBold = 1;
constexpr int fsItalic = 2;
constexpr int fsUnderline = 4;
constexpr int fsStrikeOut = 8;

// Text alignment bits, as the chart engine's placement rules are written.
constexpr int TA_LEFT = 0;
constexpr int TA_TOP = 0;
constexpr int TA_RIGHT = 2;
constexpr int TA_CENTER = 6;
constexpr int TA_BOTTOM = 8;
constexpr int TA_BASELINE = 24;

// A small picture held by value: brush patterns and drawn graphics.
// Pixels are RGB colour words, row by row from the top.
struct TRasterImage {
    int Width = 0;
    int Height = 0;
    std::vector<TColor> Pixels;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    friend bool operator==(const TRasterImage&, const TRasterImage&) = default;
};

struct TPenDesc {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    // Caps and joins matter for geometric pens (Width >= 2) only.
    bool Geometric = false;
    TPenEndCap EndCap = pecRound;
    TPenJoin Join = pjRound;
    // A cosmetic pen of width 1 that sets every other pixel.
    bool SmallDots = false;
    friend bool operator==(const TPenDesc&, const TPenDesc&) = default;
};

struct TBrushDesc {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    // When set (and not empty) the brush paints with this pattern, tiled from
    // the origin, whatever Style says.
    std::shared_ptr<const TRasterImage> Bitmap;
    friend bool operator==(const TBrushDesc&, const TBrushDesc&) = default;
};

struct TFontDesc {
    // A chart font name; the context maps it to an installed font (ChartFonts).
    std::string Name = "Arial";
    // Points at 96 dpi, used when Height is 0.
    int Size = 8;
    // Pixels when not 0; the sign is ignored (character height).
    int Height = 0;
    int Style = 0; // fsBold | fsItalic | fsUnderline | fsStrikeOut
    // Counter-clockwise rotation in tenths of a degree.
    int Orientation = 0;
    // Extra pixels after every character.
    int CharSpacing = 0;
    bool AntiAlias = false;
    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};

enum TBackMode { bmTransparent, bmOpaque };

// How a text path is used (TextPath).
enum TTextPathOp { tpStroke, tpFill, tpStrokeAndFill };

// A saved clip region; opaque to callers. A null pointer means "no clipping".
class DrawClip {
public:
    virtual ~DrawClip() = default;
};
using DrawClipPtr = std::shared_ptr<const DrawClip>;

class DrawContext {
public:
    virtual ~DrawContext() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Attributes in force for the following calls.
    virtual void SetPen(const TPenDesc& pen) = 0;
    virtual const TPenDesc& Pen() const = 0;
    virtual void SetBrush(const TBrushDesc& brush) = 0;
    virtual const TBrushDesc& Brush() const = 0;
    virtual void SetFont(const TFontDesc& font) = 0;
    virtual const TFontDesc& Font() const = 0;
    virtual void SetTextColor(TColor color) = 0;
    virtual TColor TextColor() const = 0;
    // Background colour and mode colour the gaps of hatched brushes and dashed
    // pens and the box behind text.
    virtual void SetBackColor(TColor color) = 0;
    virtual TColor BackColor() const = 0;
    virtual void SetBackMode(TBackMode mode) = 0;
    virtual TBackMode BackMode() const = 0;
    virtual void SetTextAlign(int align) = 0;
    virtual int TextAlign() const = 0;

    // Lines use the pen; LineTo moves the current position to (x, y).
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual TPoint PenPos() const = 0;
    virtual void Polyline(const TPoint* points, int count) = 0;
    // Closed shapes are filled with the brush and outlined with the pen.
    virtual void Polygon(const TPoint* points, int count) = 0;
    virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
    virtual void RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH) = 0;
    virtual void Ellipse(int x0, int y0, int x1, int y1) = 0;
    // Pie and Arc: bounding box x0..x1, y0..y1; from the angle of (x2, y2) to
    // the angle of (x3, y3), counter-clockwise.
    virtual void Pie(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) = 0;
    virtual void Arc(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) = 0;
    // The brush without outline.
    virtual void FillRect(const TRect& rect) = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;
    virtual TColor GetPixel(int x, int y) const = 0;

    // Text with the font, text colour, alignment and background mode.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) const = 0;
    virtual int TextHeight(const std::string& text) const = 0;
    // Text turned into an outline placed like TextOut; stroked with the pen
    // and/or filled with the brush.
    virtual void TextPath(int x, int y, const std::string& text, TTextPathOp op) = 0;

    // Pictures.
    virtual void DrawImage(int x, int y, const TRasterImage& image) = 0;
    virtual void StretchDrawImage(const TRect& rect, const TRasterImage& image) = 0;

    // Clipping: every Intersect call narrows the clip in force.
    virtual DrawClipPtr Clip() const = 0;
    virtual void SetClip(const DrawClipPtr& clip) = 0;
    virtual void IntersectClipRect(const TRect& rect) = 0;
    virtual void IntersectClipEllipse(const TRect& rect) = 0;
    virtual void IntersectClipRoundRect(const TRect& rect, int cornerW, int cornerH) = 0;
    virtual void IntersectClipPolygon(const TPoint* points, int count) = 0;
    // The outline of a text placed like TextOut; widened by the pen when widen.
    virtual void IntersectClipTextPath(int x, int y, const std::string& text, bool widen) = 0;

    // Off-screen 24-bit bitmaps of the same kind as this context.
    virtual std::unique_ptr<DrawContext> CreateBitmap(int width, int height) const = 0;
    // Copies srcRect of source to this context with its top-left at (x, y).
    virtual void CopyFrom(const DrawContext& source, const TRect& srcRect, int x, int y) = 0;
    // Raw pixel access for blending: RGB words, row by row; rect is clamped
    // to the context by the caller.
    virtual void ReadPixels(const TRect& rect, std::vector<TColor>& out) const = 0;
    virtual void WritePixels(const TRect& rect, const std::vector<TColor>& pixels) = 0;

    // Convenience forms.
    void Polyline(const TPointArray& points) { Polyline(points.data(), int(points.size())); }
    void Polygon(const TPointArray& points) { Polygon(points.data(), int(points.size())); }
};

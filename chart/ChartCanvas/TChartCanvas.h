#pragma once
// The abstract chart drawing surface over a platform drawing context. It keeps
// its own pen, brush, font, colours and alignment and hands them to whichever
// context is current (the off-screen buffer or the destination).

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TCustomChartGradient.h"
#include "platform/DrawContext.h"

#include <memory>
#include <string>

class TChartBlend;
class TChartBrush;
class TChartFont;
class TChartPen;

enum TCanvasBackMode { cbmNone, cbmTransparent, cbmOpaque };

class TChartCanvas {
public:
    TChartCanvas();
    virtual ~TChartCanvas();
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;

    // State of the platform context.
    virtual TColor GetBackColor() const;
    virtual TCanvasBackMode GetBackMode() const;
    // The current platform context (null before the first InitWindow).
    virtual DrawContext* GetHandle() const;
    virtual bool GetMonochrome() const;
    virtual TColor GetPixel(int x, int y) const;
    virtual int GetTextAlign() const;
    virtual bool GetUseBuffer() const = 0;
    virtual void SetBackColor(TColor color);
    virtual void SetBackMode(TCanvasBackMode mode);
    virtual void SetMonochrome(bool value);
    virtual void SetPixel(int x, int y, TColor color);
    virtual void SetTextAlign(int align);
    virtual void SetUseBuffer(bool value) = 0;

    // Translucency: Transparency 0..100 percent (stored clamped to 0..127).
    virtual std::unique_ptr<TChartBlend> BeginBlending(const TRect& rect, int transparency);
    virtual void EndBlending(std::unique_ptr<TChartBlend> blend);

    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    virtual void Draw(int x, int y, const TRasterImage& graphic);
    virtual void Ellipse(int x0, int y0, int x1, int y1);
    virtual void FillRect(const TRect& rect);
    // Width nested one-pixel frames; Rect shrinks by Width on each side.
    virtual void Frame3D(TRect& rect, TColor topColor, TColor bottomColor, int width);
    virtual void LineTo(int x, int y);
    virtual void MoveTo(int x, int y);
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    virtual void Rectangle(int x0, int y0, int x1, int y1);
    virtual void RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH);
    virtual void StretchDraw(const TRect& rect, const TRasterImage& graphic);
    // Shadow, outline and gradient of the current TChartFont apply.
    virtual void TextOut(int x, int y, const std::string& text);
    virtual int TextWidth(const std::string& text) const;
    virtual int TextHeight(const std::string& text) const;
    virtual void ClipRectangle(const TRect& rect);
    virtual void DoHorizLine(int x0, int x1, int y);
    virtual void DoVertLine(int x, int y0, int y1);
    virtual void EraseBackground(const TRect& rect);
    virtual void GradientFill(const TRect& rect, TColor startColor, TColor endColor,
                              TGradientDirection direction, int balance = 50);
    virtual void Invalidate() = 0;
    virtual void Line(int x0, int y0, int x1, int y1);
    // Counted by the highest index (number of points minus 1).
    virtual void Polyline(const TPoint* points, int highIndex);
    virtual void Polygon(const TPoint* points, int highIndex);
    // Angle in degrees counter-clockwise; above 360 wraps once.
    virtual void RotateLabel(int x, int y, const std::string& text, double angle);
    virtual void UnClipRectangle();

    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Polyline(const TPointArray& points) { Polyline(points.data(), int(points.size()) - 1); }
    void Polygon(const TPointArray& points) { Polygon(points.data(), int(points.size()) - 1); }

    // Clip shapes sharing ClipRectangle's remembered region.
    void ClipEllipse(const TRect& rect);
    void ClipRoundRectangle(const TRect& rect, int roundSize);
    void ClipPolygon(const TPoint* points, int count);

    // Attribute helpers used by the chart elements.
    void AssignBrush(const TChartBrush& brush, TColor color);
    void AssignBrushColor(const TChartBrush& brush, TColor color, TColor backColor);
    void AssignVisiblePen(const TChartPen& pen);
    void AssignVisiblePenColor(const TChartPen& pen, TColor color);
    void AssignFont(TChartFont& font);
    // The height of "W" in the current font.
    int FontHeight() const;
    // Pen black 1 solid, brush white solid, font black 10, back white
    // transparent, alignment left-top.
    void ResetState();

    // Direct access to the platform attributes (colours resolved on use).
    const TPenDesc& Pen() const { return Pen_; }
    void SetPen(const TPenDesc& pen);
    void SetPenColor(TColor color);
    void SetPenStyle(TPenStyle style);
    void SetPenWidth(int width);
    void SetPenMode(TPenMode mode);
    const TBrushDesc& Brush() const { return Brush_; }
    void SetBrush(const TBrushDesc& brush);
    void SetBrushColor(TColor color);
    void SetBrushStyle(TBrushStyle style);
    const TFontDesc& Font() const { return Font_; }
    void SetFont(const TFontDesc& font);
    TColor FontColor() const { return FontColor_; }
    void SetFontColor(TColor color);
    TPoint PenPos() const;

    // The last TChartFont assigned (or null).
    TChartFont* CurrentFont() const { return CurrentFont_; }
    void SetCurrentFont(TChartFont* font) { CurrentFont_ = font; }
    double FontZoom() const { return FontZoom_; }
    void SetFontZoom(double percent) { FontZoom_ = percent; }
    // Transparency of the blend in progress (0..127).
    int BlendTransparency() const { return Transparency_; }

protected:
    // Makes Context current and hands it the whole state.
    void SelectContext(DrawContext* context);
    // Text placement box for shadows and gradients.
    TRect TextBox(int x, int y, const std::string& text) const;
    void PlainTextOut(int x, int y, const std::string& text);
    // A repaint starts unclipped with an empty remembered-region slot.
    void ForgetClip();
    // The zoom applied to rotated and 3D text; 1 in a plain canvas.
    virtual double TextZoom() const { return 1.0; }

    DrawContext* Context_ = nullptr;

private:
    void PushState();
    TColor Resolve(TColor color) const;

    TPenDesc Pen_;
    TBrushDesc Brush_;
    TFontDesc Font_;
    TColor FontColor_ = clBlack;
    TColor BackColor_ = clWhite;
    TCanvasBackMode BackMode_ = cbmTransparent;
    int TextAlign_ = TA_LEFT | TA_TOP;
    bool Monochrome_ = false;
    TChartFont* CurrentFont_ = nullptr;
    double FontZoom_ = 100.0;
    int Transparency_ = 0;
    DrawClipPtr SavedClip_;
    bool HasSavedClip_ = false;
};

#pragma once
// The drawing context over a QImage (RGB32), drawn aliased.

#include "platform/DrawContext.h"

#include <QImage>
#include <memory>

class QPainter;

class QtDrawContext : public DrawContext {
public:
    // An off-screen image of the given size, filled white.
    QtDrawContext(int width, int height);
    // Draws into Target (not owned; converted to RGB32 when needed), which
    // must outlive the context.
    explicit QtDrawContext(QImage* target);
    ~QtDrawContext() override;

    const QImage& Image() const { return *Target_; }
    QImage& Image() { return *Target_; }
    // The picture as PNG bytes; empty when it cannot be encoded.
    std::string PngBytes() const;
    // Ends the painter kept open between calls, so the image may be copied,
    // shown or resized safely; drawing later opens a new one.
    void Flush() const;

    int Width() const override;
    int Height() const override;
    void SetPen(const TPenDesc& pen) override;
    const TPenDesc& Pen() const override { return Pen_; }
    void SetBrush(const TBrushDesc& brush) override;
    const TBrushDesc& Brush() const override { return Brush_; }
    void SetFont(const TFontDesc& font) override;
    const TFontDesc& Font() const override { return Font_; }
    void SetTextColor(TColor color) override { TextColor_ = color; }
    TColor TextColor() const override { return TextColor_; }
    void SetBackColor(TColor color) override { BackColor_ = color; }
    TColor BackColor() const override { return BackColor_; }
    void SetBackMode(TBackMode mode) override { BackMode_ = mode; }
    TBackMode BackMode() const override { return BackMode_; }
    void SetTextAlign(int align) override { TextAlign_ = align; }
    int TextAlign() const override { return TextAlign_; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    TPoint PenPos() const override { return PenPos_; }
    void Polyline(const TPoint* points, int count) override;
    void Polygon(const TPoint* points, int count) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH) override;
    void Ellipse(int x0, int y0, int x1, int y1) override;
    void Pie(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) override;
    void Arc(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) override;
    void FillRect(const TRect& rect) override;
    void SetPixel(int x, int y, TColor color) override;
    TColor GetPixel(int x, int y) const override;

    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) const override;
    int TextHeight(const std::string& text) const override;
    void TextPath(int x, int y, const std::string& text, TTextPathOp op) override;

    void DrawImage(int x, int y, const TRasterImage& image) override;
    void StretchDrawImage(const TRect& rect, const TRasterImage& image) override;

    DrawClipPtr Clip() const override;
    void SetClip(const DrawClipPtr& clip) override;
    void IntersectClipRect(const TRect& rect) override;
    void IntersectClipEllipse(const TRect& rect) override;
    void IntersectClipRoundRect(const TRect& rect, int cornerW, int cornerH) override;
    void IntersectClipPolygon(const TPoint* points, int count) override;
    void IntersectClipTextPath(int x, int y, const std::string& text, bool widen) override;

    std::unique_ptr<DrawContext> CreateBitmap(int width, int height) const override;
    void CopyFrom(const DrawContext& source, const TRect& srcRect, int x, int y) override;
    void ReadPixels(const TRect& rect, std::vector<TColor>& out) const override;
    void WritePixels(const TRect& rect, const std::vector<TColor>& pixels) override;

private:
    void PieOrArc(bool pie, int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3);
    // A rectangle with elliptic corners (cornerW x cornerH; the whole box for
    // an ellipse), rasterised row by row inside left..right-1, top..bottom-1.
    void RoundedBox(int x0, int y0, int x1, int y1, int cornerW, int cornerH);
    struct Impl;
    std::unique_ptr<Impl> D_;
    QImage Own_;
    QImage* Target_;
    TPenDesc Pen_;
    TBrushDesc Brush_;
    TFontDesc Font_;
    TColor TextColor_ = clBlack;
    TColor BackColor_ = clWhite;
    TBackMode BackMode_ = bmOpaque;
    int TextAlign_ = TA_LEFT | TA_TOP;
    TPoint PenPos_;
};

#pragma once
// A drawing context that logs every drawing call with its arguments and the
// attributes in force, for exact geometry checks in tests. It can forward
// every call to another context (for example a QtDrawContext) so a test gets
// both the log and the pixels; without one, text is measured with a fixed
// cell (CharWidth per byte) and pixels read white.

#include "platform/DrawContext.h"

#include <memory>
#include <string>
#include <vector>

struct TDrawCall {
    // "MoveTo", "LineTo", "Polyline", "Polygon", "Rectangle", "RoundRect",
    // "Ellipse", "Pie", "Arc", "FillRect", "SetPixel", "TextOut", "TextPath",
    // "DrawImage", "StretchDrawImage", "SetClip", "IntersectClipRect",
    // "IntersectClipEllipse", "IntersectClipRoundRect", "IntersectClipPolygon",
    // "IntersectClipTextPath", "CopyFrom", "WritePixels".
    std::string Op;
    // Integer arguments in call order (for LineTo: from X, from Y, to X, to Y).
    std::vector<int> Args;
    // Point arguments (Polyline, Polygon, IntersectClipPolygon).
    TPointArray Points;
    std::string Text;
    // Attributes in force at the call.
    TPenDesc Pen;
    TBrushDesc Brush;
    TFontDesc Font;
    TColor TextColor = clBlack;
    TColor BackColor = clWhite;
    TBackMode BackMode = bmOpaque;
    int TextAlign = 0;
    // Whether a clip region was in force.
    bool Clipped = false;

    // "Op a,b,c" or "Op (x,y) (x,y)"; handy in test messages.
    std::string ToString() const;
};

class RecordingDrawContext : public DrawContext {
public:
    RecordingDrawContext(int width, int height);
    // Logs and forwards to Target (not owned).
    explicit RecordingDrawContext(DrawContext* target);
    ~RecordingDrawContext() override;

    const std::vector<TDrawCall>& Calls() const { return Calls_; }
    void ClearCalls() { Calls_.clear(); }
    // The calls whose Op equals op.
    std::vector<TDrawCall> CallsOf(const std::string& op) const;
    // Width of one byte of text without a target (height is the font's pixel
    // height, or Size * 4 / 3).
    static constexpr int CharWidth = 6;

    int Width() const override;
    int Height() const override;
    void SetPen(const TPenDesc& pen) override;
    const TPenDesc& Pen() const override { return Pen_; }
    void SetBrush(const TBrushDesc& brush) override;
    const TBrushDesc& Brush() const override { return Brush_; }
    void SetFont(const TFontDesc& font) override;
    const TFontDesc& Font() const override { return Font_; }
    void SetTextColor(TColor color) override;
    TColor TextColor() const override { return TextColor_; }
    void SetBackColor(TColor color) override;
    TColor BackColor() const override { return BackColor_; }
    void SetBackMode(TBackMode mode) override;
    TBackMode BackMode() const override { return BackMode_; }
    void SetTextAlign(int align) override;
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

    // Bitmaps of a recording context record into their own log; with a target
    // they wrap the target's bitmap.
    std::unique_ptr<DrawContext> CreateBitmap(int width, int height) const override;
    void CopyFrom(const DrawContext& source, const TRect& srcRect, int x, int y) override;
    void ReadPixels(const TRect& rect, std::vector<TColor>& out) const override;
    void WritePixels(const TRect& rect, const std::vector<TColor>& pixels) override;

    // The forwarding target, if any.
    DrawContext* Target() const { return Target_; }

private:
    TDrawCall& Record(const char* op, std::initializer_list<int> args);

    std::unique_ptr<DrawContext> OwnedTarget_;
    DrawContext* Target_ = nullptr;
    int Width_ = 0;
    int Height_ = 0;
    std::vector<TDrawCall> Calls_;
    TPenDesc Pen_;
    TBrushDesc Brush_;
    TFontDesc Font_;
    TColor TextColor_ = clBlack;
    TColor BackColor_ = clWhite;
    TBackMode BackMode_ = bmOpaque;
    int TextAlign_ = TA_LEFT | TA_TOP;
    TPoint PenPos_;
    DrawClipPtr Clip_;
};

#include "chart/ChartCanvas/TChartCanvas.h"

#include "chart/ChartCanvas/GradientBands.h"
#include "chart/ChartCanvas/TChartBlend.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartFontGradient.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TChartCanvas::TChartCanvas() {
    Font_.Name = GetDefaultFontName();
    Font_.Size = GetDefaultFontSize();
}

TChartCanvas::~TChartCanvas() = default;

TColor TChartCanvas::Resolve(TColor color) const {
    return ColorToRGB(color);
}

void TChartCanvas::SelectContext(DrawContext* context) {
    Context_ = context;
    PushState();
}

void TChartCanvas::PushState() {
    if (!Context_)
        return;
    TPenDesc pen = Pen_;
    pen.Color = Resolve(pen.Color);
    Context_->SetPen(pen);
    TBrushDesc brush = Brush_;
    brush.Color = Resolve(brush.Color);
    Context_->SetBrush(brush);
    Context_->SetFont(Font_);
    Context_->SetTextColor(Resolve(FontColor_));
    Context_->SetBackColor(Resolve(BackColor_));
    Context_->SetBackMode(BackMode_ == cbmOpaque ? bmOpaque : bmTransparent);
    Context_->SetTextAlign(TextAlign_);
}

TColor TChartCanvas::GetBackColor() const {
    return BackColor_;
}
TCanvasBackMode TChartCanvas::GetBackMode() const {
    return BackMode_;
}
DrawContext* TChartCanvas::GetHandle() const {
    return Context_;
}
bool TChartCanvas::GetMonochrome() const {
    return Monochrome_;
}

TColor TChartCanvas::GetPixel(int x, int y) const {
    return Context_ ? Context_->GetPixel(x, y) : clNone;
}

int TChartCanvas::GetTextAlign() const {
    return TextAlign_;
}

void TChartCanvas::SetBackColor(TColor color) {
    BackColor_ = color;
    if (Context_)
        Context_->SetBackColor(Resolve(color));
}

void TChartCanvas::SetBackMode(TCanvasBackMode mode) {
    BackMode_ = mode;
    if (Context_)
        Context_->SetBackMode(mode == cbmOpaque ? bmOpaque : bmTransparent);
}

void TChartCanvas::SetMonochrome(bool value) {
    Monochrome_ = value;
}

void TChartCanvas::SetPixel(int x, int y, TColor color) {
    if (Context_)
        Context_->SetPixel(x, y, Resolve(color));
}

void TChartCanvas::SetTextAlign(int align) {
    TextAlign_ = align;
    if (Context_)
        Context_->SetTextAlign(align);
}

void TChartCanvas::SetPen(const TPenDesc& pen) {
    Pen_ = pen;
    if (Context_) {
        TPenDesc p = pen;
        p.Color = Resolve(p.Color);
        Context_->SetPen(p);
    }
}

void TChartCanvas::SetPenColor(TColor color) {
    TPenDesc p = Pen_;
    p.Color = color;
    SetPen(p);
}

void TChartCanvas::SetPenStyle(TPenStyle style) {
    TPenDesc p = Pen_;
    p.Style = style;
    SetPen(p);
}

void TChartCanvas::SetPenWidth(int width) {
    TPenDesc p = Pen_;
    p.Width = width;
    SetPen(p);
}

void TChartCanvas::SetPenMode(TPenMode mode) {
    TPenDesc p = Pen_;
    p.Mode = mode;
    SetPen(p);
}

void TChartCanvas::SetBrush(const TBrushDesc& brush) {
    Brush_ = brush;
    if (Context_) {
        TBrushDesc b = brush;
        b.Color = Resolve(b.Color);
        Context_->SetBrush(b);
    }
}

void TChartCanvas::SetBrushColor(TColor color) {
    TBrushDesc b = Brush_;
    b.Color = color;
    SetBrush(b);
}

void TChartCanvas::SetBrushStyle(TBrushStyle style) {
    TBrushDesc b = Brush_;
    b.Style = style;
    SetBrush(b);
}

void TChartCanvas::SetFont(const TFontDesc& font) {
    Font_ = font;
    if (Context_)
        Context_->SetFont(font);
}

void TChartCanvas::SetFontColor(TColor color) {
    FontColor_ = color;
    if (Context_)
        Context_->SetTextColor(Resolve(color));
}

TPoint TChartCanvas::PenPos() const {
    return Context_ ? Context_->PenPos() : TPoint{};
}

std::unique_ptr<TChartBlend> TChartCanvas::BeginBlending(const TRect& rect, int transparency) {
    Transparency_ = std::clamp(transparency, 0, 127);
    return std::make_unique<TChartBlend>(*this, rect);
}

void TChartCanvas::EndBlending(std::unique_ptr<TChartBlend> blend) {
    if (blend)
        blend->DoBlend(Transparency_);
}

void TChartCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (Context_)
        Context_->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas::Draw(int x, int y, const TRasterImage& graphic) {
    if (Context_)
        Context_->DrawImage(x, y, graphic);
}

void TChartCanvas::Ellipse(int x0, int y0, int x1, int y1) {
    if (Context_)
        Context_->Ellipse(x0, y0, x1, y1);
}

void TChartCanvas::FillRect(const TRect& rect) {
    if (Context_)
        Context_->FillRect(rect);
}

void TChartCanvas::Frame3D(TRect& rect, TColor topColor, TColor bottomColor, int width) {
    const TPenDesc oldPen = Pen_;
    TPenDesc pen;
    pen.Width = 1;
    --rect.Bottom;
    --rect.Right;
    while (width > 0) {
        --width;
        pen.Color = topColor;
        SetPen(pen);
        const TPoint topSide[3] = {
            {rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        Polyline(topSide, 2);
        pen.Color = bottomColor;
        SetPen(pen);
        const TPoint bottomSide[3] = {
            {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        Polyline(bottomSide, 2);
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Bottom;
    ++rect.Right;
    SetPen(oldPen);
}

void TChartCanvas::LineTo(int x, int y) {
    if (Context_)
        Context_->LineTo(x, y);
}

void TChartCanvas::MoveTo(int x, int y) {
    if (Context_)
        Context_->MoveTo(x, y);
}

void TChartCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (Context_)
        Context_->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas::Rectangle(int x0, int y0, int x1, int y1) {
    if (Context_)
        Context_->Rectangle(x0, y0, x1, y1);
}

void TChartCanvas::RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH) {
    if (Context_)
        Context_->RoundRect(x0, y0, x1, y1, cornerW, cornerH);
}

void TChartCanvas::StretchDraw(const TRect& rect, const TRasterImage& graphic) {
    if (Context_)
        Context_->StretchDrawImage(rect, graphic);
}

TRect TChartCanvas::TextBox(int x, int y, const std::string& text) const {
    const int w = Context_ ? Context_->TextWidth(text) : 0;
    const int h = Context_ ? Context_->TextHeight(text) : 0;
    int left = x;
    if ((TextAlign_ & TA_CENTER) == TA_CENTER)
        left = x - w / 2;
    else if (TextAlign_ & TA_RIGHT)
        left = x - w;
    const int right = (TextAlign_ & TA_CENTER) == TA_CENTER ? x + w / 2 : left + w;
    return {left, y, right, y + h};
}

void TChartCanvas::PlainTextOut(int x, int y, const std::string& text) {
    if (Context_)
        Context_->TextOut(x, y, text);
}

void TChartCanvas::TextOut(int x, int y, const std::string& text) {
    if (!Context_)
        return;
    TChartFont* font = CurrentFont_;
    const TChartShadow* shadow = font ? font->ShadowPtr() : nullptr;
    if (shadow && shadow->Color() != clNone &&
        (shadow->HorizSize() != 0 || shadow->VertSize() != 0)) {
        const int hs = shadow->HorizSize(), vs = shadow->VertSize();
        // A negative size moves the main text instead of the shadow.
        int shadowX = x + hs, shadowY = y + vs;
        if (hs < 0) {
            shadowX = x;
            x -= hs;
        }
        if (vs < 0) {
            shadowY = y;
            y -= vs;
        }
        std::unique_ptr<TChartBlend> blend;
        if (shadow->Transparency() > 0)
            blend = BeginBlending(TextBox(shadowX, shadowY, text), shadow->Transparency());
        Context_->SetTextColor(Resolve(shadow->Color()));
        PlainTextOut(shadowX, shadowY, text);
        if (blend)
            EndBlending(std::move(blend));
    }
    Context_->SetTextColor(Resolve(FontColor_));

    const TChartHiddenPen* outline = font ? font->OutLinePtr() : nullptr;
    TChartFontGradient* gradient = font && font->HasGradient() ? &font->Gradient() : nullptr;
    const bool outlineVisible = outline && outline->Visible();
    const bool gradientVisible = gradient && gradient->Visible();
    if (!outlineVisible && !gradientVisible) {
        PlainTextOut(x, y, text);
        return;
    }

    const TPenDesc oldPen = Pen_;
    const TBrushDesc oldBrush = Brush_;
    const TCanvasBackMode oldBackMode = BackMode_;
    TBrushDesc brush;
    brush.Color = FontColor_;
    SetBrush(brush);
    SetBackMode(cbmTransparent);
    bool done = false;
    if (gradientVisible) {
        const DrawClipPtr oldClip = Context_->Clip();
        if (outlineVisible)
            AssignVisiblePen(*outline);
        Context_->IntersectClipTextPath(x, y, text, gradient->Outline());
        gradient->Draw(*this, TextBox(x, y, text));
        Context_->SetClip(oldClip);
        done = gradient->Outline();
    }
    if (!done && outlineVisible) {
        AssignVisiblePen(*outline);
        Context_->TextPath(x, y, text, FontColor_ == clNone ? tpStroke : tpStrokeAndFill);
    }
    SetPen(oldPen);
    SetBrush(oldBrush);
    SetBackMode(oldBackMode);
}

int TChartCanvas::TextWidth(const std::string& text) const {
    if (!Context_)
        return 0;
    int w = Context_->TextWidth(text);
    if (CurrentFont_ && CurrentFont_->ShadowPtr())
        w += std::abs(CurrentFont_->ShadowPtr()->HorizSize());
    return w;
}

int TChartCanvas::TextHeight(const std::string& text) const {
    if (!Context_)
        return 0;
    int h = Context_->TextHeight(text);
    if (CurrentFont_ && CurrentFont_->ShadowPtr())
        h += std::abs(CurrentFont_->ShadowPtr()->VertSize());
    return h;
}

void TChartCanvas::ClipRectangle(const TRect& rect) {
    if (!Context_)
        return;
    SavedClip_ = Context_->Clip();
    HasSavedClip_ = true;
    Context_->IntersectClipRect(OrientedRect(rect));
}

void TChartCanvas::ClipEllipse(const TRect& rect) {
    if (!Context_)
        return;
    SavedClip_ = Context_->Clip();
    HasSavedClip_ = true;
    Context_->IntersectClipEllipse(OrientedRect(rect));
}

void TChartCanvas::ClipRoundRectangle(const TRect& rect, int roundSize) {
    if (!Context_)
        return;
    SavedClip_ = Context_->Clip();
    HasSavedClip_ = true;
    Context_->IntersectClipRoundRect(OrientedRect(rect), roundSize, roundSize);
}

void TChartCanvas::ClipPolygon(const TPoint* points, int count) {
    if (!Context_)
        return;
    SavedClip_ = Context_->Clip();
    HasSavedClip_ = true;
    Context_->IntersectClipPolygon(points, count);
}

void TChartCanvas::ForgetClip() {
    SavedClip_.reset();
    HasSavedClip_ = false;
    if (Context_)
        Context_->SetClip(nullptr);
}

void TChartCanvas::UnClipRectangle() {
    if (!Context_)
        return;
    // The slot holds the region in force at the last clip call (null: none).
    Context_->SetClip(HasSavedClip_ ? SavedClip_ : nullptr);
    SavedClip_.reset();
    HasSavedClip_ = false;
}

void TChartCanvas::DoHorizLine(int x0, int x1, int y) {
    MoveTo(x0, y);
    LineTo(x1, y);
}

void TChartCanvas::DoVertLine(int x, int y0, int y1) {
    MoveTo(x, y0);
    LineTo(x, y1);
}

void TChartCanvas::EraseBackground(const TRect& rect) {
    FillRect(rect);
}

void TChartCanvas::GradientFill(const TRect& rect, TColor startColor, TColor endColor,
                                TGradientDirection direction, int balance) {
    if (!Context_)
        return;
    const TRect r = OrientedRect(rect);
    if (direction == gdRadial) {
        TCustomChartGradient radial;
        radial.SetDirection(gdRadial);
        radial.SetStartColor(startColor);
        radial.SetEndColor(endColor);
        radial.DrawRadial(*this, r);
        return;
    }
    const TGradientBands bands =
        LinearGradientBands(r, ColorToRGB(startColor), ColorToRGB(endColor), direction, balance);

    // Painting uses its own band brush and pen; the canvas's pen and brush stay.
    const TBrushDesc oldBrush = Context_->Brush();
    const TPenDesc oldPen = Context_->Pen();
    TBrushDesc brush;
    bool haveBrush = false;
    for (const TColoredRect& band : bands.Rects) {
        if (!haveBrush || brush.Color != band.Color) {
            brush.Color = band.Color;
            Context_->SetBrush(brush);
            haveBrush = true;
        }
        Context_->FillRect(band.Rect);
    }
    TPenDesc pen;
    for (const TColoredLine& line : bands.Lines) {
        pen.Color = line.Color;
        Context_->SetPen(pen);
        Context_->MoveTo(line.From.X, line.From.Y);
        Context_->LineTo(line.To.X, line.To.Y);
    }
    Context_->SetBrush(oldBrush);
    Context_->SetPen(oldPen);
}

void TChartCanvas::Line(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TChartCanvas::Polyline(const TPoint* points, int highIndex) {
    if (Context_ && highIndex >= 0)
        Context_->Polyline(points, highIndex + 1);
}

void TChartCanvas::Polygon(const TPoint* points, int highIndex) {
    if (Context_ && highIndex >= 0)
        Context_->Polygon(points, highIndex + 1);
}

void TChartCanvas::RotateLabel(int x, int y, const std::string& text, double angle) {
    if (!Context_)
        return;
    SetBrushStyle(bsClear);
    if (angle > 360)
        angle -= 360;
    const TFontDesc old = Font_;
    TFontDesc rotated = Font_;
    rotated.Orientation = ChartRound(angle * 10);
    rotated.AntiAlias = true;
    const double zoom = TextZoom();
    if (zoom != 1.0) {
        const int size =
            rotated.Height != 0 ? (std::abs(rotated.Height) * 72 + 48) / 96 : rotated.Size;
        rotated.Size = std::max(1, ChartRound(size * zoom));
        rotated.Height = 0;
    }
    SetFont(rotated);
    TextOut(x, y, text);
    SetFont(old);
}

void TChartCanvas::AssignBrush(const TChartBrush& brush, TColor color) {
    AssignBrushColor(brush, color, brush.Color());
}

void TChartCanvas::AssignBrushColor(const TChartBrush& brush, TColor color, TColor backColor) {
    if (Monochrome_)
        color = clWhite;
    TBrushDesc b;
    if (brush.HasImage()) {
        b.Style = bsClear;
        b.Color = Brush_.Color;
        b.Bitmap = brush.Image();
        SetBrush(b);
        SetFontColor(color);
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
        return;
    }
    b.Color = color;
    b.Style = brush.Style();
    SetBrush(b);
    // An unresolved owner's-default colour has no value of its own; painting
    // hatch gaps and dash gaps with it would give black.
    if (backColor == clNone || backColor == clDefault) {
        SetBackMode(cbmTransparent);
    } else {
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
    }
}

void TChartCanvas::AssignVisiblePen(const TChartPen& pen) {
    AssignVisiblePenColor(pen, pen.Color());
}

void TChartCanvas::AssignVisiblePenColor(const TChartPen& pen, TColor color) {
    if (Monochrome_)
        color = clBlack;
    if (!pen.Visible()) {
        SetPenStyle(psClear);
        return;
    }
    ChartSetPen(*this, pen, color);
}

void TChartCanvas::AssignFont(TChartFont& font) {
    TFontDesc d = font.Desc();
    if (FontZoom_ != 100.0) {
        d.Size = ChartRound(font.Size() * FontZoom_ / 100.0);
        d.Height = 0;
    }
    d.CharSpacing = font.InterCharSize();
    SetFont(d);
    SetFontColor(Monochrome_ ? clBlack : font.Color());
    CurrentFont_ = &font;
}

int TChartCanvas::FontHeight() const {
    return TextHeight("W");
}

void TChartCanvas::ResetState() {
    TPenDesc pen;
    SetPen(pen);
    TBrushDesc brush;
    SetBrush(brush);
    TFontDesc font = Font_;
    font.Size = 10;
    font.Height = 0;
    font.Style = 0;
    font.Orientation = 0;
    font.CharSpacing = 0;
    SetFont(font);
    SetFontColor(clBlack);
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(TA_LEFT | TA_TOP);
}

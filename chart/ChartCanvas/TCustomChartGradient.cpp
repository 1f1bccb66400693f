#include "chart/ChartCanvas/TCustomChartGradient.h"

#include "chart/ChartCanvas/GradientBands.h"
#include "chart/ChartCanvas/TCanvas3D.h"

#include <algorithm>

void TCustomChartGradient::Changed() {
    if (OnChange)
        OnChange();
}

void TCustomChartGradient::SetMidColor(TColor value) {
    if (MidColorSet_ && MidColor_ == value)
        return;
    MidColor_ = value;
    MidColorSet_ = true;
    Changed();
}

void TCustomChartGradient::Assign(const TCustomChartGradient& source) {
    SetBalance(source.Balance_);
    SetDirection(source.Direction_);
    SetStartColor(source.StartColor_);
    SetEndColor(source.EndColor_);
    if (source.MidColorSet_)
        SetMidColor(source.MidColor_);
    SetRadialX(source.RadialX_);
    SetRadialY(source.RadialY_);
    SetVisible(source.Visible_);
}

void TCustomChartGradient::Draw(TChartCanvas& canvas, const TRect& rect, int roundCorner) {
    const bool mono = canvas.GetMonochrome();
    auto shade = [mono](TColor c) { return mono && c != clNone ? ColorToGray(c) : c; };
    const TColor start = shade(StartColor_);
    const TColor end = shade(EndColor_);
    const TColor mid = shade(MidColor());
    if (roundCorner > 0)
        canvas.ClipRoundRectangle(rect, roundCorner);
    if (Direction_ == gdRadial) {
        DrawRadial(canvas, rect);
    } else {
        for (const TGradientPart& part : GradientParts(rect, Direction_, start, mid, end, Balance_))
            canvas.GradientFill(part.Rect, part.Start, part.End, part.Direction, part.Balance);
    }
    if (roundCorner > 0)
        canvas.UnClipRectangle();
}

void TCustomChartGradient::Draw(TChartCanvas& canvas, const TPoint* p) {
    canvas.ClipPolygon(p, 4);
    TRect box{p[0].X, p[0].Y, p[0].X, p[0].Y};
    for (int i = 1; i < 4; ++i) {
        box.Left = std::min(box.Left, p[i].X);
        box.Top = std::min(box.Top, p[i].Y);
        box.Right = std::max(box.Right, p[i].X);
        box.Bottom = std::max(box.Bottom, p[i].Y);
    }
    Draw(canvas, box);
    canvas.UnClipRectangle();
}

void TCustomChartGradient::Draw(TCanvas3D& canvas, const TPoint* p, int z) {
    TPoint q[4];
    for (int i = 0; i < 4; ++i)
        q[i] = canvas.Calculate3DPosition(p[i].X, p[i].Y, z);
    Draw(static_cast<TChartCanvas&>(canvas), q);
}

void TCustomChartGradient::DrawRadial(TChartCanvas& canvas, const TRect& rect) {
    const TRect r = OrientedRect(rect);
    canvas.ClipRectangle(r);
    const TPenStyle oldPenStyle = canvas.Pen().Style;
    const TBrushDesc oldBrush = canvas.Brush();

    const bool mono = canvas.GetMonochrome();
    const TColor start = ColorToRGB(mono ? ColorToGray(StartColor_) : StartColor_);
    const TColor end = ColorToRGB(mono ? ColorToGray(EndColor_) : EndColor_);

    const TGradientBands bands = RadialGradientBands(r, start, end, Balance_, RadialX_, RadialY_);
    for (const TColoredRect& back : bands.Rects) {
        TBrushDesc brush;
        brush.Color = back.Color;
        canvas.SetBrush(brush);
        canvas.FillRect(back.Rect);
    }
    if (!bands.Ellipses.empty())
        canvas.SetPenStyle(psClear);
    for (const TColoredRect& ring : bands.Ellipses) {
        canvas.SetBrushColor(ring.Color);
        canvas.Ellipse(ring.Rect.Left, ring.Rect.Top, ring.Rect.Right, ring.Rect.Bottom);
    }
    canvas.SetPenStyle(oldPenStyle);
    canvas.SetBrush(oldBrush);
    canvas.UnClipRectangle();
}

#include "chart/ChartCanvas/TCustomChartGradient.h"

#include "chart/ChartCanvas/TCanvas3D.h"

#include <algorithm>
#include <cmath>

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
    } else if (mid != clNone) {
        const TRect r = OrientedRect(rect);
        const int midY = (r.Top + r.Bottom) / 2;
        const int midX = (r.Left + r.Right) / 2;
        const TRect upper{r.Left, r.Top, r.Right, midY}, lower{r.Left, midY, r.Right, r.Bottom};
        const TRect left{r.Left, r.Top, midX, r.Bottom}, right{midX, r.Top, r.Right, r.Bottom};
        switch (Direction_) {
        case gdTopBottom:
            canvas.GradientFill(upper, mid, end, gdTopBottom, 50);
            canvas.GradientFill(lower, start, mid, gdTopBottom, 50);
            break;
        case gdBottomTop:
            canvas.GradientFill(upper, start, mid, gdBottomTop, 50);
            canvas.GradientFill(lower, mid, end, gdBottomTop, 50);
            break;
        case gdLeftRight:
            canvas.GradientFill(left, mid, end, gdLeftRight, 50);
            canvas.GradientFill(right, start, mid, gdLeftRight, 50);
            break;
        case gdRightLeft:
            canvas.GradientFill(left, start, mid, gdRightLeft, 50);
            canvas.GradientFill(right, mid, end, gdRightLeft, 50);
            break;
        default:
            canvas.GradientFill(r, start, end, Direction_, 50);
            break;
        }
    } else {
        canvas.GradientFill(rect, start, end, Direction_, Balance_);
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

    TBrushDesc brush;
    brush.Color = end;
    canvas.SetBrush(brush);
    canvas.FillRect(r);

    const int w = r.Width(), h = r.Height();
    int k = std::min(255, std::max(w, h));
    if (w % 2 != 0 || h % 2 != 0)
        --k;
    if (k > 0) {
        const int cx = (r.Left + r.Right) / 2 + RadialX_ + 1;
        const int cy = (r.Top + r.Bottom) / 2 + RadialY_ + 1;
        const int r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
        const int dr = GetRValue(end) - r0, dg = GetGValue(end) - g0, db = GetBValue(end) - b0;
        const double power = Balance_ * 0.015 + 0.5;
        canvas.SetPenStyle(psClear);
        for (int i = k; i >= 0; --i) {
            TColor c;
            if (Balance_ == 50) {
                c = RGBColor(r0 + dr * i / k, g0 + dg * i / k, b0 + db * i / k);
            } else {
                const double f = std::pow(double(i + 1) / double(k + 1), power);
                c = RGBColor(r0 + ChartRound(dr * f), g0 + ChartRound(dg * f),
                             b0 + ChartRound(db * f));
            }
            const int rx = w / 2 * i / k, ry = h / 2 * i / k;
            canvas.SetBrushColor(c);
            canvas.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
        }
    }
    canvas.SetPenStyle(oldPenStyle);
    canvas.SetBrush(oldBrush);
    canvas.UnClipRectangle();
}

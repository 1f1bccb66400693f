#include "chart/ChartCanvas/TChartShadow.h"

#include "chart/ChartCanvas/TCanvas3D.h"
#include "chart/ChartCanvas/TChartBlend.h"

#include <algorithm>
#include <cstdlib>

TChartShadow::TChartShadow() = default;
TChartShadow::TChartShadow(std::function<void()> onChange) : OnChange(std::move(onChange)) {}
TChartShadow::~TChartShadow() = default;

void TChartShadow::Changed() {
    if (OnChange)
        OnChange();
}

int TChartShadow::Size() const {
    return std::max(HorizSize_, VertSize_);
}

void TChartShadow::SetColor(TColor value) {
    if (Color_ != value) {
        Color_ = value;
        Changed();
    }
}

void TChartShadow::SetHorizSize(int value) {
    if (HorizSize_ != value) {
        HorizSize_ = value;
        Changed();
    }
}

void TChartShadow::SetVertSize(int value) {
    if (VertSize_ != value) {
        VertSize_ = value;
        Changed();
    }
}

void TChartShadow::SetTransparency(int value) {
    if (Transparency_ != value) {
        Transparency_ = value;
        Changed();
    }
}

void TChartShadow::SetSize(int value) {
    SetHorizSize(value);
    SetVertSize(value);
}

void TChartShadow::Assign(const TChartShadow& source) {
    SetColor(source.Color_);
    SetHorizSize(source.HorizSize_);
    SetVertSize(source.VertSize_);
    SetTransparency(source.Transparency_);
}

bool TChartShadow::Visible() const {
    return Color_ != clNone && (HorizSize_ != 0 || VertSize_ != 0);
}

bool TChartShadow::PrepareCanvas(TCanvas3D& canvas, const TRect& rect, int z) {
    if (!Visible())
        return false;
    TBrushDesc brush;
    brush.Color = Color_;
    brush.Style = bsSolid;
    canvas.SetBrush(brush);
    canvas.SetPenStyle(psClear);
    if (Transparency_ > 0) {
        const TRect moved{rect.Left + HorizSize_, rect.Top + VertSize_, rect.Right + HorizSize_,
                          rect.Bottom + VertSize_};
        // The bounding box of the moved rectangle's projected corners.
        const TPoint c[4] = {canvas.Calculate3DPosition(moved.Left, moved.Top, z),
                             canvas.Calculate3DPosition(moved.Right, moved.Top, z),
                             canvas.Calculate3DPosition(moved.Right, moved.Bottom, z),
                             canvas.Calculate3DPosition(moved.Left, moved.Bottom, z)};
        TRect box{c[0].X, c[0].Y, c[0].X, c[0].Y};
        for (const TPoint& p : c) {
            box.Left = std::min(box.Left, p.X);
            box.Top = std::min(box.Top, p.Y);
            box.Right = std::max(box.Right, p.X);
            box.Bottom = std::max(box.Bottom, p.Y);
        }
        Blend_ = canvas.BeginBlending(box, Transparency_);
    }
    return true;
}

void TChartShadow::Draw(TCanvas3D& canvas, const TRect& rect) {
    if (!PrepareCanvas(canvas, rect))
        return;
    canvas.FillRect(TRect{rect.Left + HorizSize_, rect.Bottom, rect.Right + HorizSize_,
                          rect.Bottom + VertSize_});
    canvas.FillRect(
        TRect{rect.Right, rect.Top + VertSize_, rect.Right + HorizSize_, rect.Bottom + VertSize_});
    FinishBlending(canvas);
}

void TChartShadow::DrawEllipse(TCanvas3D& canvas, const TRect& rect, int z) {
    if (!PrepareCanvas(canvas, rect, z))
        return;
    canvas.EllipseWithZ(rect.Left + HorizSize_, rect.Top + VertSize_, rect.Right + HorizSize_,
                        rect.Bottom + VertSize_, z);
    FinishBlending(canvas);
}

void TChartShadow::FinishBlending(TCanvas3D& canvas) {
    if (Blend_)
        canvas.EndBlending(std::move(Blend_));
}

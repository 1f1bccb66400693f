#include "chart/ChartPanel/TChartCustomShape.h"

#include "chart/ChartCanvas/TChartBlend.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartPanel/TCustomChartPanel.h"

TChartCustomShape::TChartCustomShape(TCustomChartPanel* parentChart) : ParentChart_(parentChart) {
    auto repaint = [this] { Repaint(); };
    Brush_ = std::make_unique<TChartBrush>(repaint);
    Frame_ = std::make_unique<TChartPen>(repaint);
    Font_ = std::make_unique<TChartFont>(repaint);
    Shadow_ = std::make_unique<TChartShadow>();
    // Shapes cast a black shadow of 3 pixels unless told otherwise.
    Shadow_->SetColor(clBlack);
    Shadow_->SetSize(3);
    Shadow_->OnChange = repaint;
    Gradient_ = std::make_unique<TChartGradient>(repaint);
}

TChartCustomShape::~TChartCustomShape() = default;

void TChartCustomShape::Repaint() const {
    if (ParentChart_)
        ParentChart_->Invalidate();
}

void TChartCustomShape::DrawBody(TChartCanvas3D& canvas, const TRect& rect) const {
    const bool round = ShapeStyle_ == fosRoundRectangle;
    if (Gradient_->Visible()) {
        Gradient_->Draw(canvas, rect, round ? ChartShapeRoundSize : 0);
        canvas.SetBrushStyle(bsClear);
    } else {
        const TColor back = Brush_->Color() == clDefault ? clNone : Brush_->Color();
        canvas.AssignBrushColor(*Brush_, Color_, back);
    }
    canvas.AssignVisiblePen(*Frame_);
    if (round)
        canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, ChartShapeRoundSize,
                         ChartShapeRoundSize);
    else
        canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TChartCustomShape::DrawShape(TChartCanvas3D& canvas, const TRect& rect) const {
    if (Transparent_)
        return;
    const int frame = Frame_->Visible() ? Frame_->Width() : 0;
    const bool hasShadow = Shadow_->Size() > 0 && Brush_->Style() != bsClear;
    const int shadowH = hasShadow ? Shadow_->HorizSize() + frame : 0;
    const int shadowV = hasShadow ? Shadow_->VertSize() + frame : 0;

    std::unique_ptr<TChartBlend> blend;
    if (Transparency_ > 0)
        blend = canvas.BeginBlending(
            {rect.Left, rect.Top, rect.Right + shadowH, rect.Bottom + shadowV}, Transparency_);
    if (hasShadow) {
        canvas.SetBrush(TBrushDesc{Shadow_->Color(), bsSolid, nullptr});
        canvas.FillRect(
            {rect.Left + shadowH, rect.Top + shadowV, rect.Right + shadowH, rect.Bottom + shadowV});
    }
    DrawBody(canvas, rect);
    if (Bevel_ != bvNone && Bevel_ != bvSpace) {
        TRect inner = rect;
        const TColor light = clBtnHighlight;
        const TColor dark = clBtnShadow;
        canvas.Frame3D(inner, Bevel_ == bvLowered ? dark : light,
                       Bevel_ == bvLowered ? light : dark, BevelWidth_);
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

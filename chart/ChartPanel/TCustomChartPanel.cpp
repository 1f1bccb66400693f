#include "chart/ChartPanel/TCustomChartPanel.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartPanel/ChartException.h"

#include <algorithm>
#include <cmath>

TCustomChartPanel::TCustomChartPanel(QWidget* parent) {
    auto repaint = [this] { Invalidate(); };
    Canvas_ = std::make_unique<TChartCanvas3D>();
    View3DOptions_ = std::make_unique<TView3DOptions>();
    View3DOptions_->OnChange = repaint;
    Shadow_ = std::make_unique<TChartShadow>(repaint);
    Border_ = std::make_unique<TChartHiddenPen>(repaint);
    Border_->SetEndStyle(esFlat);
    Host_ = CreateControlHost(parent, this);
    Host_->SetBounds(Left_, Top_, Width_, Height_);
}

TCustomChartPanel::~TCustomChartPanel() {
    AutoRepaint_ = false;
    if (Host_) {
        ControlHostHandle* host = Host_;
        Host_ = nullptr;
        DestroyControlHost(host);
    }
}

void TCustomChartPanel::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width_ || height != Height_;
    Left_ = left;
    Top_ = top;
    Width_ = width;
    Height_ = height;
    if (Host_)
        Host_->SetBounds(left, top, width, height);
    if (resized)
        Invalidate();
}

void TCustomChartPanel::SetMarginLeft(int value) {
    if (StoreChanged(MarginLeft_, value))
        Invalidate();
}
void TCustomChartPanel::SetMarginTop(int value) {
    if (StoreChanged(MarginTop_, value))
        Invalidate();
}
void TCustomChartPanel::SetMarginUnits(TMarginUnits value) {
    if (StoreChanged(MarginUnits_, value))
        Invalidate();
}

void TCustomChartPanel::SetView3D(bool value) {
    if (!StoreChanged(View3D_, value))
        return;
    Invalidate();
    for (TChartListener* l : std::vector<TChartListener*>(Listeners_))
        l->View3DChanged(*this);
}

void TCustomChartPanel::SetChart3DPercent(int value) {
    if (value < 1 || value > 100)
        throw ChartException("3D effect percent must be between 1 and 100");
    if (StoreChanged(Chart3DPercent_, value))
        Invalidate();
}

void TCustomChartPanel::SetColor(TColor value) {
    if (StoreChanged(Color_, value))
        Invalidate();
}
void TCustomChartPanel::SetBevelOuter(TPanelBevel value) {
    if (StoreChanged(BevelOuter_, value))
        Invalidate();
}
void TCustomChartPanel::SetBevelInner(TPanelBevel value) {
    if (StoreChanged(BevelInner_, value))
        Invalidate();
}
void TCustomChartPanel::SetBevelWidth(int value) {
    if (StoreChanged(BevelWidth_, value))
        Invalidate();
}
void TCustomChartPanel::SetBorderWidth(int value) {
    if (StoreChanged(BorderWidth_, value))
        Invalidate();
}
void TCustomChartPanel::SetMonochrome(bool value) {
    if (StoreChanged(Monochrome_, value))
        Invalidate();
}

void TCustomChartPanel::Invalidate() {
    if (!AutoRepaint_)
        return;
    ++RepaintRequests_;
    Canvas_->Invalidate();
    if (Host_)
        Host_->RequestRepaint();
}

void TCustomChartPanel::Repaint() {
    if (!AutoRepaint_)
        return;
    Canvas_->Invalidate();
    if (Host_)
        Host_->RepaintNow();
}

void TCustomChartPanel::RefreshImage() {
    if (Host_)
        Host_->RequestRepaint();
}

void TCustomChartPanel::Paint(DrawContext& target) {
    // A still-valid buffer is copied again instead of drawing. It also holds
    // the rubber band of a zoom drag, which is drawn into it between paints.
    if (Canvas_->GetUseBuffer() && Canvas_->Bitmap() && !Canvas_->BufferStale() &&
        Canvas_->Bitmap()->Width() == target.Width() &&
        Canvas_->Bitmap()->Height() == target.Height()) {
        Canvas_->TransferBitmap(0, 0, &target);
        return;
    }
    Draw(target, {0, 0, target.Width(), target.Height()});
}

void TCustomChartPanel::Draw(DrawContext& target, const TRect& rect) {
    ++DrawCount_;
    Canvas_->SetMonochrome(Monochrome_);
    ChartBounds = Canvas_->InitWindow(&target, View3DOptions_.get(), Color_, View3D_, rect);
    ChartRect = CalcChartRectFromBounds(ChartBounds);
    RecalcWidthHeight();
    InternalDraw(ChartBounds);
    Canvas_->ShowImage(&target, &target, rect);
}

int TCustomChartPanel::FrameWidth() const {
    int frame = BorderWidth_;
    if (BevelInner_ != bvNone)
        frame += BevelWidth_;
    if (BevelOuter_ != bvNone)
        frame += BevelWidth_;
    if (Border_->Visible())
        frame += Border_->Width();
    return frame;
}

TRect TCustomChartPanel::CalcChartRectFromBounds(const TRect& bounds) const {
    const int frame = FrameWidth();
    const int w = bounds.Right - bounds.Left;
    const int h = bounds.Bottom - bounds.Top;
    auto px = [this](int margin, int size) {
        return MarginUnits_ == muPercent ? margin * size / 100 : margin;
    };
    return {bounds.Left + frame + px(MarginLeft_, w), bounds.Top + frame + px(MarginTop_, h),
            bounds.Right - frame - px(MarginRight_, w),
            bounds.Bottom - frame - px(MarginBottom_, h)};
}

void TCustomChartPanel::RecalcWidthHeight() {
    if (ChartRect.Left < ChartBounds.Left)
        ChartRect.Left = ChartBounds.Left;
    if (ChartRect.Top < ChartBounds.Top)
        ChartRect.Top = ChartBounds.Top;
    if (ChartRect.Right < ChartRect.Left)
        ChartRect.Right = ChartRect.Left + 1;
    else if (ChartRect.Right == ChartRect.Left)
        ChartRect.Right = ChartRect.Left + Width_;
    if (ChartRect.Bottom < ChartRect.Top)
        ChartRect.Bottom = ChartRect.Top + 1;
    else if (ChartRect.Bottom == ChartRect.Top)
        ChartRect.Bottom = ChartRect.Top + Height_;
    ChartWidth = ChartRect.Right - ChartRect.Left;
    ChartHeight = ChartRect.Bottom - ChartRect.Top;
    ChartXCenter = (ChartRect.Left + ChartRect.Right) / 2;
    ChartYCenter = (ChartRect.Top + ChartRect.Bottom) / 2;
}

void TCustomChartPanel::CalcSize3D(int slotCount) {
    if (!View3D_) {
        Width3D = Height3D = SeriesWidth3D = SeriesHeight3D = 0;
        return;
    }
    const bool orthogonal = View3DOptions_->Orthogonal();
    Width3D = ChartRound(ChartWidth * Chart3DPercent_ * (orthogonal ? 0.001 : 0.002));
    double ratio = 1.0;
    if (orthogonal) {
        int angle = View3DOptions_->OrthoAngle();
        if (angle > 90)
            angle = 180 - angle;
        ratio = std::tan(angle * ChartPiStep);
    }
    if (ratio > 1.0)
        Width3D = ChartRound(Width3D / ratio);
    Height3D = ChartRound(Width3D * ratio);
    const int count = std::max(1, slotCount);
    SeriesWidth3D = Width3D * count;
    SeriesHeight3D = Height3D * count;
}

TColor TCustomChartPanel::ParentColor() const {
    return clBtnFace;
}

void TCustomChartPanel::PanelPaint(TRect rect) {
    TChartCanvas3D& canvas = *Canvas_;
    if (Shadow_->HorizSize() != 0 || Shadow_->VertSize() != 0) {
        canvas.SetBrush(TBrushDesc{ParentColor(), bsSolid, nullptr});
        canvas.FillRect(rect);
        rect.Right -= Shadow_->HorizSize();
        rect.Bottom -= Shadow_->VertSize();
        Shadow_->Draw(canvas, rect);
    }
    if (!DrawBackgroundGradient(rect) && Color_ != clNone) {
        canvas.SetBrush(TBrushDesc{Color_, bsSolid, nullptr});
        canvas.EraseBackground(rect);
    }
    DrawBorderAndBevels(rect);
}

void TCustomChartPanel::DrawBevel(TRect& rect, TPanelBevel bevel) {
    if (bevel == bvNone || bevel == bvSpace)
        return;
    TChartCanvas3D& canvas = *Canvas_;
    const TColor topLeft = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    if (BorderRound_ > 0) {
        canvas.SetPenColor(topLeft);
        canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, BorderRound_, BorderRound_);
        rect.Left += BevelWidth_;
        rect.Top += BevelWidth_;
        rect.Right -= BevelWidth_;
        rect.Bottom -= BevelWidth_;
    } else {
        canvas.Frame3D(rect, topLeft, bottomRight, BevelWidth_);
    }
}

void TCustomChartPanel::DrawBorderAndBevels(TRect& rect) {
    TChartCanvas3D& canvas = *Canvas_;
    canvas.SetBrushStyle(bsClear);
    if (Border_->Visible()) {
        const int w = Border_->Width();
        TRect r = rect;
        if (w > 1) {
            const int half = (w - 1) / 2;
            const int leftTop = half + ((w - 1) % 2 != 0 ? 1 : 0);
            r.Left += leftTop;
            r.Top += leftTop;
            r.Right -= half;
            r.Bottom -= half;
        }
        canvas.AssignVisiblePen(*Border_);
        if (BorderRound_ > 0)
            canvas.RoundRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1, BorderRound_, BorderRound_);
        else
            canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        int shrink = w / 2;
        if (Border_->Style() != psDot && BorderRound_ == 0)
            ++shrink;
        rect.Left += shrink;
        rect.Top += shrink;
        rect.Right -= shrink;
        rect.Bottom -= shrink;
    }
    if (BevelOuter_ == bvNone && BevelInner_ == bvNone && BorderWidth_ <= 0)
        return;
    canvas.SetPen(TPenDesc{clBlack, 1, psSolid, pmCopy});
    DrawBevel(rect, BevelOuter_);
    if (BorderWidth_ > 0)
        canvas.Frame3D(rect, Color_, Color_, BorderWidth_);
    DrawBevel(rect, BevelInner_);
}

void TCustomChartPanel::AddListener(TChartListener* listener) {
    if (std::find(Listeners_.begin(), Listeners_.end(), listener) == Listeners_.end())
        Listeners_.push_back(listener);
}

void TCustomChartPanel::RemoveListener(TChartListener* listener) {
    Listeners_.erase(std::remove(Listeners_.begin(), Listeners_.end(), listener), Listeners_.end());
}

void TCustomChartPanel::SetCursor(TCursor cursor) {
    if (Cursor_ == cursor)
        return;
    Cursor_ = cursor;
    if (Host_)
        Host_->SetCursorShape(cursor);
}

void TCustomChartPanel::MouseDown(TMouseButton, TShiftState, int, int) {}
void TCustomChartPanel::MouseMove(TShiftState, int, int) {}
void TCustomChartPanel::MouseUp(TMouseButton, TShiftState, int, int) {}
void TCustomChartPanel::MouseWheel(int, TShiftState, int, int) {}
void TCustomChartPanel::MouseLeave() {}

void TCustomChartPanel::HostPaint(DrawContext& target, const TRect&) {
    Paint(target);
}

void TCustomChartPanel::HostMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    MouseDown(button, shift, x, y);
}

void TCustomChartPanel::HostMouseMove(TShiftState shift, int x, int y) {
    MouseMove(shift, x, y);
}

void TCustomChartPanel::HostMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    MouseUp(button, shift, x, y);
}

void TCustomChartPanel::HostMouseWheel(int delta, TShiftState shift, int x, int y) {
    MouseWheel(delta, shift, x, y);
}

void TCustomChartPanel::HostMouseLeave() {
    MouseLeave();
}

void TCustomChartPanel::HostResized(int width, int height) {
    if (width == Width_ && height == Height_)
        return;
    Width_ = width;
    Height_ = height;
    Invalidate();
}

void TCustomChartPanel::HostDestroyed() {
    Host_ = nullptr;
}

#include "chart/ChartCanvas/TChartBlend.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartCanvas.h"

#include <algorithm>

TChartBlend::TChartBlend(TChartCanvas& canvas, const TRect& rect) : Canvas_(canvas) {
    SetRectangle(rect);
}

void TChartBlend::SetRectangle(const TRect& rect) {
    Rect_ = OrientedRect(rect);
    Rect_.Left = std::max(0, Rect_.Left);
    Rect_.Top = std::max(0, Rect_.Top);
    Saved_.clear();
    ValidSize_ = false;
    const DrawContext* context = Canvas_.GetHandle();
    if (!context)
        return;
    Rect_.Right = std::min(Rect_.Right, context->Width());
    Rect_.Bottom = std::min(Rect_.Bottom, context->Height());
    ValidSize_ = Rect_.Width() > 0 && Rect_.Height() > 0;
    if (ValidSize_)
        context->ReadPixels(Rect_, Saved_);
}

void TChartBlend::DoBlend(int transparency) {
    DrawContext* context = Canvas_.GetHandle();
    if (!ValidSize_ || !context)
        return;
    // The common area of the saved copy and the drawing.
    TRect area = Rect_;
    area.Right = std::min(area.Right, context->Width());
    area.Bottom = std::min(area.Bottom, context->Height());
    if (area.Width() < 2 || area.Height() < 2)
        return;
    std::vector<TColor> drawn;
    context->ReadPixels(area, drawn);
    const int savedWidth = Rect_.Width();
    auto mix = [transparency](int d, int s) { return d + transparency * (s - d) / 100; };
    size_t i = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x, ++i) {
            const TColor d = drawn[i];
            const TColor s = Saved_[size_t(y) * size_t(savedWidth) + size_t(x)];
            drawn[i] = RGBColor(mix(GetRValue(d), GetRValue(s)), mix(GetGValue(d), GetGValue(s)),
                                mix(GetBValue(d), GetBValue(s)));
        }
    context->WritePixels(area, drawn);
}

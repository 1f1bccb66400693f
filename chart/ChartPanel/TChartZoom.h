#pragma once
// Mouse zoom settings of a chart, plus the zoom drag state.

#include "chart/ChartPanel/TZoomPanning.h"
#include "platform/InputTypes.h"

#include <memory>

class TChartPen;
class TChartBrush;

enum TZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

class TChartZoom : public TZoomPanning {
public:
    TChartZoom();
    ~TChartZoom() override;

    TChartZoom(const TChartZoom&) = delete;
    TChartZoom& operator=(const TChartZoom&) = delete;

    bool Allow() const { return Allow_; }
    void SetAllow(bool value) { Allow_ = value; }
    bool Animated() const { return Animated_; }
    void SetAnimated(bool value) { Animated_ = value; }
    // Steps including the last one.
    int AnimatedSteps() const { return AnimatedSteps_; }
    void SetAnimatedSteps(int value) { AnimatedSteps_ = value; }
    TZoomDirection Direction() const { return Direction_; }
    void SetDirection(TZoomDirection value) { Direction_ = value; }
    // The drag must exceed this in both directions.
    int MinimumPixels() const { return MinimumPixels_; }
    void SetMinimumPixels(int value) { MinimumPixels_ = value; }
    TMouseButton MouseButton() const { return MouseButton_; }
    void SetMouseButton(TMouseButton value) { MouseButton_ = value; }
    TShiftState KeyShift() const { return KeyShift_; }
    void SetKeyShift(TShiftState value) { KeyShift_ = value; }

    // Rubber-band outline, created white on first use.
    TChartPen& Pen();
    bool HasPen() const { return Pen_ != nullptr; }
    // Rubber-band fill; none (clear) until first use.
    TChartBrush& Brush();
    bool HasBrush() const { return Brush_ != nullptr; }

private:
    bool Allow_ = true;
    bool Animated_ = false;
    int AnimatedSteps_ = 8;
    TZoomDirection Direction_ = tzdBoth;
    int MinimumPixels_ = 16;
    TMouseButton MouseButton_ = mbLeft;
    TShiftState KeyShift_ = 0;
    std::unique_ptr<TChartPen> Pen_;
    std::unique_ptr<TChartBrush> Brush_;
};

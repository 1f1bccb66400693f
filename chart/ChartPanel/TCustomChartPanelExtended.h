#pragma once
// Second layer of the chart control: background gradient and the zoom and
// panning settings.

#include "chart/ChartPanel/TChartZoom.h"
#include "chart/ChartPanel/TCustomChartPanel.h"
#include "chart/ChartPanel/TZoomPanning.h"
#include "chart/StoreChanged.h"

#include <memory>

class TChartGradient;

class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    explicit TCustomChartPanelExtended(QWidget* parent);
    ~TCustomChartPanelExtended() override;

    // Panel background gradient, created on first use (hidden, white to
    // yellow, top to bottom, balance 50).
    TChartGradient& Gradient();
    bool HasGradient() const { return Gradient_ != nullptr; }

    TPanningMode AllowPanning() const { return AllowPanning_; }
    void SetAllowPanning(TPanningMode value) {
        if (StoreChanged(AllowPanning_, value))
            Invalidate();
    }

    TChartZoom& Zoom() { return Zoom_; }
    const TChartZoom& Zoom() const { return Zoom_; }
    // The separate drag state of right-button panning.
    TZoomPanning& Panning() { return Panning_; }
    const TZoomPanning& Panning() const { return Panning_; }

protected:
    bool DrawBackgroundGradient(const TRect& rect) override;

private:
    std::unique_ptr<TChartGradient> Gradient_;
    TPanningMode AllowPanning_ = pmBoth;
    TChartZoom Zoom_;
    TZoomPanning Panning_;
};

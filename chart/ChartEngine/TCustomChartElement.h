#pragma once
// Base of everything that draws on a chart and belongs to it: series (and tools).

#include "platform/GraphicsTypes.h"

#include <memory>

class TCustomAxisPanel;
class TChartBrush;
class TChartPen;

class TCustomChartElement {
public:
    TCustomChartElement();
    TCustomChartElement(const TCustomChartElement&) = delete;
    TCustomChartElement& operator=(const TCustomChartElement&) = delete;
    virtual ~TCustomChartElement();

    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    virtual void SetParentChart(TCustomAxisPanel* value);

    bool Active() const { return FActive; }
    virtual void SetActive(bool value);

    TChartBrush& Brush() const { return *FBrush; }
    TChartPen& Pen() const { return *FPen; }

    // Asks the parent chart for a repaint; nothing without a chart.
    void Repaint() const;

protected:
    TCustomAxisPanel* FParentChart = nullptr;
    bool FActive = true;

private:
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
};

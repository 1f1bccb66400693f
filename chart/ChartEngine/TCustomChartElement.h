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

    TCustomAxisPanel* ParentChart() const { return ParentChart_; }
    virtual void SetParentChart(TCustomAxisPanel* value);

    bool Active() const { return Active_; }
    virtual void SetActive(bool value);

    TChartBrush& Brush() const { return *Brush_; }
    TChartPen& Pen() const { return *Pen_; }

    // Asks the parent chart for a repaint; nothing without a chart.
    void Repaint() const;

protected:
    TCustomAxisPanel* ParentChart_ = nullptr;
    bool Active_ = true;

private:
    std::unique_ptr<TChartBrush> Brush_;
    std::unique_ptr<TChartPen> Pen_;
};

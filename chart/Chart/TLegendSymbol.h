#pragma once
// The coloured symbol at the side of each legend row.

#include "chart/StoreChanged.h"
#include <memory>

class TChartPen;
class TCustomChartPanel;

enum TLegendSymbolSize { lcsPercent, lcsPixels };
enum TLegendSymbolPosition { spLeft, spRight };

class TLegendSymbol {
public:
    explicit TLegendSymbol(TCustomChartPanel* chart);
    ~TLegendSymbol();

    TLegendSymbol(const TLegendSymbol&) = delete;
    TLegendSymbol& operator=(const TLegendSymbol&) = delete;

    bool Visible() const { return Visible_; }
    void SetVisible(bool value) { SetAndRepaint(Visible_, value); }
    int Width() const { return Width_; }
    void SetWidth(int value) { SetAndRepaint(Width_, value); }
    TLegendSymbolSize WidthUnits() const { return WidthUnits_; }
    void SetWidthUnits(TLegendSymbolSize value) { SetAndRepaint(WidthUnits_, value); }
    TLegendSymbolPosition Position() const { return Position_; }
    void SetPosition(TLegendSymbolPosition value) { SetAndRepaint(Position_, value); }
    bool Squared() const { return Squared_; }
    void SetSquared(bool value) { SetAndRepaint(Squared_, value); }
    bool Continuous() const { return Continuous_; }
    void SetContinuous(bool value) { SetAndRepaint(Continuous_, value); }
    // When false, Pen outlines every symbol.
    bool DefaultPen() const { return DefaultPen_; }
    void SetDefaultPen(bool value) { SetAndRepaint(DefaultPen_, value); }
    TChartPen& Pen() const { return *Pen_; }

private:
    template <class T> void SetAndRepaint(T& field, const T& value) {
        if (StoreChanged(field, value))
            Repaint();
    }
    void Repaint() const;

    TCustomChartPanel* Chart_;
    bool Visible_ = true;
    int Width_ = 20;
    TLegendSymbolSize WidthUnits_ = lcsPercent;
    TLegendSymbolPosition Position_ = spLeft;
    bool Squared_ = false;
    bool Continuous_ = false;
    bool DefaultPen_ = true;
    std::unique_ptr<TChartPen> Pen_;
};

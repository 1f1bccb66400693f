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
    void SetVisible(bool value) {
        if (StoreChanged(Visible_, value))
            Repaint();
    }
    int Width() const { return Width_; }
    void SetWidth(int value) {
        if (StoreChanged(Width_, value))
            Repaint();
    }
    TLegendSymbolSize WidthUnits() const { return WidthUnits_; }
    void SetWidthUnits(TLegendSymbolSize value) {
        if (StoreChanged(WidthUnits_, value))
            Repaint();
    }
    TLegendSymbolPosition Position() const { return Position_; }
    void SetPosition(TLegendSymbolPosition value) {
        if (StoreChanged(Position_, value))
            Repaint();
    }
    bool Squared() const { return Squared_; }
    void SetSquared(bool value) {
        if (StoreChanged(Squared_, value))
            Repaint();
    }
    bool Continuous() const { return Continuous_; }
    void SetContinuous(bool value) {
        if (StoreChanged(Continuous_, value))
            Repaint();
    }
    // When false, Pen outlines every symbol.
    bool DefaultPen() const { return DefaultPen_; }
    void SetDefaultPen(bool value) {
        if (StoreChanged(DefaultPen_, value))
            Repaint();
    }
    TChartPen& Pen() const { return *Pen_; }

private:
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

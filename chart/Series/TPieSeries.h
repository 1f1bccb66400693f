#pragma once
// The pie: slice angles, exploded slices, 2D and 3D slices, the translucent shadow,
// the grouped other slice, legend items, marks around the rim and hit test.

#include "chart/Series/TCircledSeries.h"
#include "platform/DrawContext.h"

#include <memory>
#include <vector>

class TChartPen;
class TChartValueList;
class TPieOtherSlice;
class TPieShadow;

struct TPieAngle {
    double StartAngle = 0.0;
    double MidAngle = 0.0;
    double EndAngle = 0.0;
};

class TPieSeries : public TCircledSeries {
public:
    // X value of the point that stands for the grouped slices.
    static constexpr double OtherSliceX = 2147483647.0;

    TPieSeries();
    ~TPieSeries() override;

    TChartPen& PiePen() const { return *PiePen_; }
    TChartValueList& PieValues() const { return YValues(); }
    TPieShadow& Shadow() const { return *Shadow_; }
    TPieOtherSlice& OtherSlice() const { return *OtherSlice_; }

    int AngleSize() const { return AngleSize_; }
    void SetAngleSize(int value);
    bool AutoMarkPosition() const { return AutoMarkPosition_; }
    void SetAutoMarkPosition(bool value);
    bool Dark3D() const { return Dark3D_; }
    void SetDark3D(bool value);
    int ExplodeBiggest() const { return ExplodeBiggest_; }
    void SetExplodeBiggest(int value);

    // Explode percentage of a slice (0 when never set).
    int ExplodedSlice(int valueIndex) const;
    void SetExplodedSlice(int valueIndex, int percent);

    // Angle table of the last repaint (one entry per point).
    const std::vector<TPieAngle>& Angles() const { return Angles_; }
    bool IsExploded() const { return IsExploded_; }

    int AddPie(double value, const std::string& label = "", TColor color = clDefault);
    bool BelongsToOtherSlice(int valueIndex) const;

    // --- per repaint -----------------------------------------------------------------
    void DoBeforeDrawChart() override;
    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    void DrawPie(int valueIndex);
    void CalcAngles();
    void CalcExplodeBiggest();
    void CalcExplodedOffset(int valueIndex, int& dx, int& dy) const;
    void CalcExplodedRadius(int valueIndex, int& xRadius, int& yRadius) const;
    // Shrinks the circle for the most exploded slice.
    void CalcExplodedCircle();
    // Value indices in the order slices are drawn.
    std::vector<int> SliceDrawOrder() const;
    void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;

    // --- legend ----------------------------------------------------------------------
    int CountLegendItems() const override;
    int LegendToValueIndex(int legendIndex) const override;
    void PrepareLegendCanvas(int valueIndex, TColor& backColor) override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;
    // While true the legend lists the grouped points instead of the others.
    void SetListingOtherSlice(bool value) { ListingOther_ = value; }

    // --- hit test --------------------------------------------------------------------
    int Clicked(int x, int y) override;
    int CalcClickedPie(int x, int y);

    void Clear() override;

private:
    void ApplySliceBrushAndPen(int valueIndex);
    TBrushStyle SliceBrushStyle(int valueIndex) const;

    std::unique_ptr<TChartPen> PiePen_;
    std::unique_ptr<TPieShadow> Shadow_;
    std::unique_ptr<TPieOtherSlice> OtherSlice_;
    int AngleSize_ = 360;
    bool AutoMarkPosition_ = true;
    bool Dark3D_ = true;
    int ExplodeBiggest_ = 0;
    std::vector<int> Exploded_;
    std::vector<TPieAngle> Angles_;
    bool IsExploded_ = false;
    TPoint LastArc_{};
    bool ListingOther_ = false;
};

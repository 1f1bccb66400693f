#pragma once
// A series drawn in a circle (pie): it uses no axes, computes its circle rectangle
// before drawing and, while shown, fixes its chart's 3D view.

#include "chart/ChartEngine/TChartSeries.h"

#include <memory>

class TChartGradient;
class TView3DOptions;

class TCircledSeries : public TChartSeries {
public:
    TCircledSeries();
    ~TCircledSeries() override;

    bool Circled() const { return Circled_; }
    // Applies to every series of this class in the chart (and resets their custom radii).
    void SetCircled(bool value);
    int CustomXRadius() const { return CustomXRadius_; }
    void SetCustomXRadius(int value);
    int CustomYRadius() const { return CustomYRadius_; }
    // Degrees, stored modulo 360.
    int RotationAngle() const { return RotationAngle_; }
    void SetRotationAngle(int value);
    double RotationRadians() const { return RotationRadians_; }
    TColor CircleBackColor() const { return CircleBackColor_; }
    TChartGradient& CircleGradient() const { return *CircleGradient_; }

    // Geometry of the last repaint.
    const TRect& CircleRect() const { return CircleRect_; }
    int CircleWidth() const { return CircleWidth_; }
    int CircleHeight() const { return CircleHeight_; }
    int CircleXCenter() const { return CircleXCenter_; }
    int CircleYCenter() const { return CircleYCenter_; }
    int XRadius() const { return XRadius_; }
    int YRadius() const { return YRadius_; }
    // Sets the circle directly from a rectangle (radii and centre follow).

    bool UseAxis() const override { return false; }
    void DoBeforeDrawValues() override;
    // The circle rectangle from the chart rectangle, marks room and Circled.
    void CalcCircleRect();

    // Angle in radians (rotation added) to a point at the given radii from the centre.
    void AngleToPos(double angle, double xRadius, double yRadius, int& x, int& y) const;
    // Angle in radians (0..2 pi, rotation taken off) of a screen point around the centre.
    double PointToAngle(int x, int y) const;

    // The background behind hatched slices.
    TColor CalcCircleBackColor() const;

    void SetParentChart(TCustomAxisPanel* value) override;
    void SetActive(bool value) override;
    void Added() override;
    void Removed() override;

    // Keeps a copy of the chart's view (once) and imposes the pie view; with false
    // copies the saved view back.
    void SetParentProperties(bool enable);

protected:
    // Width and height made even (losing a pixel) and at least 4, centre recomputed.
    void AdjustCircleRect();
    void SetRadiiFromRect();
    // Marks room: the chart's widest mark text for the side margins.
    virtual int MaxMarkWidth();

    TRect CircleRect_{};
    int CircleWidth_ = 0;
    int CircleHeight_ = 0;
    int CircleXCenter_ = 0;
    int CircleYCenter_ = 0;
    int XRadius_ = 0;
    int YRadius_ = 0;

private:
    bool Circled_ = false;
    int CustomXRadius_ = 0;
    int CustomYRadius_ = 0;
    int RotationAngle_ = 0;
    double RotationRadians_ = 0.0;
    TColor CircleBackColor_ = clDefault;
    std::unique_ptr<TChartGradient> CircleGradient_;
    std::unique_ptr<TView3DOptions> SavedView_;
    TCustomAxisPanel* ViewChart_ = nullptr;
};

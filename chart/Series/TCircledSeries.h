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

    bool Circled() const { return FCircled; }
    // Applies to every series of this class in the chart (and resets their custom radii).
    void SetCircled(bool value);
    int CustomXRadius() const { return FCustomXRadius; }
    void SetCustomXRadius(int value);
    int CustomYRadius() const { return FCustomYRadius; }
    // Degrees, stored modulo 360.
    int RotationAngle() const { return FRotationAngle; }
    void SetRotationAngle(int value);
    double RotationRadians() const { return FRotationRadians; }
    TColor CircleBackColor() const { return FCircleBackColor; }
    TChartGradient& CircleGradient() const { return *FCircleGradient; }

    // Geometry of the last repaint.
    const TRect& CircleRect() const { return FCircleRect; }
    int CircleWidth() const { return FCircleWidth; }
    int CircleHeight() const { return FCircleHeight; }
    int CircleXCenter() const { return FCircleXCenter; }
    int CircleYCenter() const { return FCircleYCenter; }
    int XRadius() const { return FXRadius; }
    int YRadius() const { return FYRadius; }
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

    TRect FCircleRect{};
    int FCircleWidth = 0;
    int FCircleHeight = 0;
    int FCircleXCenter = 0;
    int FCircleYCenter = 0;
    int FXRadius = 0;
    int FYRadius = 0;

private:
    bool FCircled = false;
    int FCustomXRadius = 0;
    int FCustomYRadius = 0;
    int FRotationAngle = 0;
    double FRotationRadians = 0.0;
    TColor FCircleBackColor = clDefault;
    std::unique_ptr<TChartGradient> FCircleGradient;
    std::unique_ptr<TView3DOptions> FSavedView;
    TCustomAxisPanel* FViewChart = nullptr;
};

#pragma once
// The caption an axis writes beside its labels.

#include <memory>
#include <string>

class TChartAxis;
class TChartFont;

class TChartAxisTitle {
public:
    explicit TChartAxisTitle(TChartAxis* axis);
    TChartAxisTitle(const TChartAxisTitle&) = delete;
    TChartAxisTitle& operator=(const TChartAxisTitle&) = delete;
    ~TChartAxisTitle();

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int Angle() const { return FAngle; }
    void SetAngle(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TChartFont& Font() const { return *FFont; }

private:
    TChartAxis* FAxis;
    std::string FCaption;
    int FAngle = 0;
    bool FVisible = true;
    std::unique_ptr<TChartFont> FFont;
};

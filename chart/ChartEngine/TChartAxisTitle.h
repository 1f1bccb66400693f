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

    const std::string& Caption() const { return Caption_; }
    void SetCaption(const std::string& value);
    int Angle() const { return Angle_; }
    void SetAngle(int value);
    bool Visible() const { return Visible_; }
    void SetVisible(bool value);
    TChartFont& Font() const { return *Font_; }

private:
    TChartAxis* Axis_;
    std::string Caption_;
    int Angle_ = 0;
    bool Visible_ = true;
    std::unique_ptr<TChartFont> Font_;
};

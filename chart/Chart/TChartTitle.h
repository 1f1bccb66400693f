#pragma once
// A block of text lines above (Title, SubTitle) or below (Foot, SubFoot) the
// plotting area, drawn in a shape.

#include "chart/ChartPanel/TChartCustomShape.h"

#include <string>
#include <vector>

class TCustomChart;

class TChartTitle : public TChartCustomShape {
public:
    TChartTitle(TCustomChart* chart, bool isFoot);

    const std::vector<std::string>& Text() const { return Text_; }
    void SetText(const std::vector<std::string>& lines);
    // One string; line breaks split it into lines.
    void SetCaption(const std::string& text);
    std::string Caption() const;

    TAlignment Alignment() const { return Alignment_; }
    void SetAlignment(TAlignment value) { SetAndRepaint(Alignment_, value); }
    bool AdjustFrame() const { return AdjustFrame_; }
    void SetAdjustFrame(bool value) { SetAndRepaint(AdjustFrame_, value); }
    bool CustomPosition() const { return CustomPosition_; }
    void SetCustomPosition(bool value) { SetAndRepaint(CustomPosition_, value); }
    int Left() const { return Left_; }
    void SetLeft(int value) { SetAndRepaint(Left_, value); }
    int Top() const { return Top_; }
    void SetTop(int value) { SetAndRepaint(Top_, value); }
    bool IsFoot() const { return IsFoot_; }

    // Box of the last draw (hit testing).
    TRect TitleRect() const { return ShapeBounds; }
    // Draws the title and, unless custom-positioned, takes its room from the
    // chart rectangle.
    void DrawTitle();
    bool Clicked(int x, int y) const;

private:
    TCustomChart* Chart_;
    bool IsFoot_;
    std::vector<std::string> Text_;
    TAlignment Alignment_ = taCenter;
    bool AdjustFrame_ = true;
    bool CustomPosition_ = false;
    int Left_ = 0;
    int Top_ = 0;
};

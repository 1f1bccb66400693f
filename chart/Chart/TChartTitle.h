#pragma once
// A block of text lines above (Title, SubTitle) or below (Foot, SubFoot) the
// plotting area, drawn in a shape.

#include "chart/ChartPanel/TChartCustomShape.h"
#include "chart/StoreChanged.h"

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
    void SetAlignment(TAlignment value) {
        if (StoreChanged(Alignment_, value))
            Repaint();
    }
    bool AdjustFrame() const { return AdjustFrame_; }
    void SetAdjustFrame(bool value) {
        if (StoreChanged(AdjustFrame_, value))
            Repaint();
    }
    bool CustomPosition() const { return CustomPosition_; }
    void SetCustomPosition(bool value) {
        if (StoreChanged(CustomPosition_, value))
            Repaint();
    }
    int Left() const { return Left_; }
    void SetLeft(int value) {
        if (StoreChanged(Left_, value))
            Repaint();
    }
    int Top() const { return Top_; }
    void SetTop(int value) {
        if (StoreChanged(Top_, value))
            Repaint();
    }
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

#pragma once
// Where a title's box and lines go, worked out from measured sizes before
// anything is drawn, so the drawing code only draws.

#include "chart/ChartPanel/ChartPanelTypes.h"
#include "platform/GraphicsTypes.h"

struct TTitleMeasure {
    bool IsFoot = false;
    bool CustomPosition = false;
    TPoint Position;    // left-top when custom-positioned
    TRect ChartRect;    // the chart rectangle to dock into otherwise
    int FrameWidth = 0; // room of the frame or bevel around the text
    int Lines = 0;
    int LineHeight = 0;
    bool AdjustFrame = false;
    TAlignment Alignment = taCenter;
    int Padding = 0; // width of one "W"
    int Widest = 0;  // widest line
};

// The box, frame included. A title grows down from the chart's top, a foot up
// from its bottom; an adjusted frame hugs the widest line plus the padding.
TRect TitleBox(const TTitleMeasure& m);

// Left-top of line i of textWidth pixels inside box.
TPoint TitleLineOrigin(const TTitleMeasure& m, const TRect& box, int line, int textWidth);

// The chart rectangle after a docked title in box took its room; shadowHeight
// is the room of the shadow (none for a transparent title).
TRect ChartRectAfterTitle(const TTitleMeasure& m, const TRect& box, int shadowHeight);

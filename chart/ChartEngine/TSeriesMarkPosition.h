#pragma once
// Where one mark was drawn: its box and its arrow.

#include "platform/GraphicsTypes.h"

struct TSeriesMarkPosition {
    TPoint ArrowFrom;
    TPoint ArrowTo;
    TPoint LeftTop;
    int Width = 0;
    int Height = 0;
    bool Custom = false;   // set by the user; overrides automatic placement
    bool ArrowFix = false; // keep the computed arrow start even for a custom position

    TRect Bounds() const {
        return TRect{LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height};
    }
};

#pragma once
// Translucent drawing: keeps the rectangle's pixels from before the drawing and
// mixes them back in afterwards (drawn + T * (saved - drawn) / 100).

#include "platform/GraphicsTypes.h"

#include <vector>

class TChartCanvas;

class TChartBlend {
public:
    // Copies the current contents of Rect (oriented, clamped at 0).
    TChartBlend(TChartCanvas& canvas, const TRect& rect);

    void SetRectangle(const TRect& rect);
    // Mixes the saved pixels into the drawing; Transparency in percent.
    void DoBlend(int transparency);

    const TRect& Rect() const { return Rect_; }
    bool ValidSize() const { return ValidSize_; }

private:
    TChartCanvas& Canvas_;
    TRect Rect_;
    bool ValidSize_ = false;
    std::vector<TColor> Saved_;
};

#pragma once
// A smooth progress bar over a 0..100 range.

#include "platform/TControl.h"

class TProgressBar : public TControl {
public:
    TProgressBar(QWidget* parent, int left, int top, int width, int height);

    int Position() const;
    // Values outside the range are clamped to it.
    void SetPosition(int position);
    int Min() const;
    int Max() const;
};

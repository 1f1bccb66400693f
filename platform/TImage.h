#pragma once
// A picture stretched to its box; used for the program icon.

#include "platform/TControl.h"

class TImage : public TControl {
public:
    TImage(QWidget* parent, int left, int top, int width, int height);
    void ShowProgramIcon();
};

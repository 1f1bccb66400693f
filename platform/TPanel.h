#pragma once
// A plain panel with a raised inner and a lowered outer bevel.

#include "platform/TControl.h"

class TPanel : public TControl {
public:
    TPanel(QWidget* parent, int left, int top, int width, int height);
};

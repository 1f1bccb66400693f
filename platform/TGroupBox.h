#pragma once
// A captioned frame; child controls are placed in its coordinates.

#include "platform/TControl.h"

class TGroupBox : public TControl {
public:
    TGroupBox(QWidget* parent, int left, int top, int width, int height,
              const std::string& caption);
    std::string Caption() const;
};

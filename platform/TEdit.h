#pragma once
// A one-line edit box.

#include "platform/TControl.h"

class TEdit : public TControl {
public:
    TEdit(QWidget* parent, int left, int top, int width, int height, const std::string& text);

    std::string Text() const;
    void SetText(const std::string& text);
};

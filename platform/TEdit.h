#pragma once
// A one-line edit box.

#include "platform/TControl.h"

#include <functional>

class TEdit : public TControl {
public:
    TEdit(QWidget* parent, int left, int top, int width, int height, const std::string& text);

    std::string Text() const;
    void SetText(const std::string& text);

    // Called after every change of the text, typed or set.
    std::function<void()> OnChange;
};

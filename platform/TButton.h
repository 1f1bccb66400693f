#pragma once
// A push button with a click handler.

#include "platform/TControl.h"

#include <functional>

class TButton : public TControl {
public:
    TButton(QWidget* parent, int left, int top, int width, int height, const std::string& caption);

    std::string Caption() const;
    void SetDefault(bool isDefault);
    // Acts as a user's click: nothing happens while the button is disabled.
    void Click();

    std::function<void()> OnClick;
};

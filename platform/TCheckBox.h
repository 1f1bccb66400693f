#pragma once
// A check box; its click handler runs whenever the check state changes.

#include "platform/TControl.h"

#include <functional>

class TCheckBox : public TControl {
public:
    TCheckBox(QWidget* parent, int left, int top, int width, int height,
              const std::string& caption);

    bool Checked() const;
    std::string Caption() const;
    // Acts as a user's click: toggles the check when enabled.
    void Click();

    std::function<void()> OnClick;
};

#pragma once
// A static text; optionally a link (blue, underlined, hand cursor) with a
// click handler.

#include "platform/TControl.h"

#include <functional>

class TLabel : public TControl {
public:
    // Placed at left, top and sized to its text, as an auto-sized label.
    TLabel(QWidget* parent, int left, int top, const std::string& caption);

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // Fixed size instead of fitting the text.
    void SetFixedBounds(int left, int top, int width, int height);
    void SetBackground(int red, int green, int blue);
    void SetLinkStyle(const std::string& fontName, int pixelHeight);
    // Acts as a user's click.
    void Click();

    std::function<void()> OnClick;

private:
    bool AutoSize_ = true;
};

#pragma once
// Base of the thin control wrappers: a Qt widget placed at the form's pixel
// position. The widget belongs to its Qt parent; the wrapper only points at it.

#include <initializer_list>
#include <string>

class QWidget;

class TControl {
public:
    explicit TControl(QWidget* widget);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    QWidget* Widget() const { return Widget_; }

    void SetBounds(int left, int top, int width, int height);
    // Places the control without changing its size.
    void SetPosition(int left, int top);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetVisible(bool visible);
    bool Visible() const;
    // A form font name and its character height in pixels.
    void SetFont(const std::string& name, int pixelHeight);
    // Above its overlapping siblings.
    void BringToFront();

protected:
    QWidget* Widget_;
};

// Keyboard focus moves through the controls in this order.
void SetTabOrder(std::initializer_list<TControl*> controls);

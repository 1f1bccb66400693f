#include "platform/TControl.h"

#include "platform/FontNames.h"
#include "platform/QtStrings.h"

#include <QWidget>

TControl::TControl(QWidget* widget) : widget_(widget) {}

void TControl::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, width, height);
}

void TControl::SetPosition(int left, int top) {
    widget_->move(left, top);
}

int TControl::Left() const {
    return widget_->x();
}
int TControl::Top() const {
    return widget_->y();
}
int TControl::Width() const {
    return widget_->width();
}
int TControl::Height() const {
    return widget_->height();
}

void TControl::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}
bool TControl::Enabled() const {
    return widget_->isEnabled();
}

void TControl::SetVisible(bool visible) {
    widget_->setVisible(visible);
}
bool TControl::Visible() const {
    return !widget_->isHidden();
}

void TControl::SetFont(const std::string& name, int pixelHeight) {
    QFont font(ToQ(MappedFontFamily(name)));
    font.setPixelSize(pixelHeight);
    widget_->setFont(font);
}

void TControl::BringToFront() {
    widget_->raise();
}

void SetTabOrder(std::initializer_list<TControl*> controls) {
    const TControl* previous = nullptr;
    for (const TControl* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous->Widget(), control->Widget());
        previous = control;
    }
}

#include "platform/TControl.h"

#include "platform/FontNames.h"
#include "platform/QtStrings.h"

#include <QWidget>

TControl::TControl(QWidget* widget) : Widget_(widget) {}

void TControl::SetBounds(int left, int top, int width, int height) {
    Widget_->setGeometry(left, top, width, height);
}

void TControl::SetPosition(int left, int top) {
    Widget_->move(left, top);
}

int TControl::Left() const {
    return Widget_->x();
}
int TControl::Top() const {
    return Widget_->y();
}
int TControl::Width() const {
    return Widget_->width();
}
int TControl::Height() const {
    return Widget_->height();
}

void TControl::SetEnabled(bool enabled) {
    Widget_->setEnabled(enabled);
}
bool TControl::Enabled() const {
    return Widget_->isEnabled();
}

void TControl::SetVisible(bool visible) {
    Widget_->setVisible(visible);
}
bool TControl::Visible() const {
    return !Widget_->isHidden();
}

void TControl::SetFont(const std::string& name, int pixelHeight) {
    QFont font(ToQ(MappedFontFamily(name)));
    font.setPixelSize(pixelHeight);
    Widget_->setFont(font);
}

void TControl::BringToFront() {
    Widget_->raise();
}

void SetTabOrder(std::initializer_list<TControl*> controls) {
    const TControl* previous = nullptr;
    for (const TControl* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous->Widget(), control->Widget());
        previous = control;
    }
}

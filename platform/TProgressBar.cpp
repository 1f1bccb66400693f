#include "platform/TProgressBar.h"

#include <QProgressBar>
#include <algorithm>

namespace {
QProgressBar* AsBar(QWidget* w) {
    return static_cast<QProgressBar*>(w);
}
} // namespace

TProgressBar::TProgressBar(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QProgressBar(parent)) {
    AsBar(Widget_)->setRange(0, 100);
    AsBar(Widget_)->setValue(0);
    AsBar(Widget_)->setTextVisible(false);
    SetBounds(left, top, width, height);
}

int TProgressBar::Position() const {
    return AsBar(Widget_)->value();
}

void TProgressBar::SetPosition(int position) {
    // Qt ignores values outside the range; a form's bar pins them instead.
    AsBar(Widget_)->setValue(std::clamp(position, Min(), Max()));
}

int TProgressBar::Min() const {
    return AsBar(Widget_)->minimum();
}
int TProgressBar::Max() const {
    return AsBar(Widget_)->maximum();
}

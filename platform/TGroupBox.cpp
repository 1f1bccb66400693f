#include "platform/TGroupBox.h"

#include "platform/QtStrings.h"

#include <QGroupBox>

TGroupBox::TGroupBox(QWidget* parent, int left, int top, int width, int height,
                     const std::string& caption)
    : TControl(new QGroupBox(ToQ(caption), parent)) {
    SetBounds(left, top, width, height);
}

std::string TGroupBox::Caption() const {
    return FromQ(static_cast<QGroupBox*>(widget_)->title());
}

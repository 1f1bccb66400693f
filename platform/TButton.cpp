#include "platform/TButton.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QPushButton>

TButton::TButton(QWidget* parent, int left, int top, int width, int height,
                 const std::string& caption)
    : TControl(new QPushButton(ToQ(caption), parent)) {
    SetBounds(left, top, width, height);
    QObject::connect(static_cast<QPushButton*>(Widget_), &QPushButton::clicked,
                     [this] { RunGuarded(OnClick); });
}

std::string TButton::Caption() const {
    return FromQ(static_cast<QPushButton*>(Widget_)->text());
}

void TButton::SetDefault(bool isDefault) {
    static_cast<QPushButton*>(Widget_)->setDefault(isDefault);
    static_cast<QPushButton*>(Widget_)->setAutoDefault(isDefault);
}

void TButton::Click() {
    static_cast<QPushButton*>(Widget_)->click();
}

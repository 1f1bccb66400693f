#include "platform/TCheckBox.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QCheckBox>

TCheckBox::TCheckBox(QWidget* parent, int left, int top, int width, int height,
                     const std::string& caption)
    : TControl(new QCheckBox(ToQ(caption), parent)) {
    SetBounds(left, top, width, height);
    QObject::connect(static_cast<QCheckBox*>(Widget_), &QCheckBox::toggled,
                     [this](bool) { RunGuarded(OnClick); });
}

bool TCheckBox::Checked() const {
    return static_cast<QCheckBox*>(Widget_)->isChecked();
}

std::string TCheckBox::Caption() const {
    return FromQ(static_cast<QCheckBox*>(Widget_)->text());
}

void TCheckBox::Click() {
    static_cast<QCheckBox*>(Widget_)->click();
}

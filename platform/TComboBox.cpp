#include "platform/TComboBox.h"

#include "platform/QtStrings.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
QComboBox* AsCombo(QWidget* w) {
    return static_cast<QComboBox*>(w);
}
} // namespace

TComboBox::TComboBox(QWidget* parent, int left, int top, int width, int height,
                     const std::vector<std::string>& items)
    : TControl(new QComboBox(parent)) {
    QComboBox* combo = AsCombo(Widget_);
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items)
        combo->addItem(ToQ(item));
    SetBounds(left, top, width, height);
}

int TComboBox::ItemCount() const {
    return AsCombo(Widget_)->count();
}

std::string TComboBox::Item(int index) const {
    return FromQ(AsCombo(Widget_)->itemText(index));
}

int TComboBox::ItemIndex() const {
    return AsCombo(Widget_)->currentIndex();
}

void TComboBox::SetItemIndex(int index) {
    if (index >= 0 && index < ItemCount())
        AsCombo(Widget_)->setCurrentIndex(index);
}

std::string TComboBox::Text() const {
    return FromQ(AsCombo(Widget_)->currentText());
}

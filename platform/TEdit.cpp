#include "platform/TEdit.h"

#include "platform/QtStrings.h"

#include <QLineEdit>

TEdit::TEdit(QWidget* parent, int left, int top, int width, int height, const std::string& text)
    : TControl(new QLineEdit(parent)) {
    // A classic edit puts its text right inside its thin border; the
    // platform's two-pixel margin scrolls "12.5" in a 29-pixel box out of view.
    static_cast<QLineEdit*>(Widget_)->setTextMargins(-2, 0, -2, 0);
    SetBounds(left, top, width, height);
    SetText(text);
    QObject::connect(static_cast<QLineEdit*>(Widget_), &QLineEdit::textChanged, [this] {
        if (OnChange) {
            OnChange();
        }
    });
}

std::string TEdit::Text() const {
    return FromQ(static_cast<QLineEdit*>(Widget_)->text());
}

void TEdit::SetText(const std::string& text) {
    static_cast<QLineEdit*>(Widget_)->setText(ToQ(text));
}

#include "platform/TStatusBar.h"

#include "platform/QtStrings.h"

#include <QFrame>
#include <QLabel>

std::string TStatusPanel::Text() const {
    return FromQ(label_->text());
}
void TStatusPanel::SetText(const std::string& text) {
    label_->setText(ToQ(text));
}
int TStatusPanel::Width() const {
    return label_->width();
}

TStatusBar::TStatusBar(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QWidget(parent)) {
    SetBounds(left, top, width, height);
}

void TStatusBar::AddPanel(int width, bool centred) {
    auto* label = new QLabel(widget_);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setIndent(2);
    label->setGeometry(nextLeft_, 2, width - 2, widget_->height() - 2);
    nextLeft_ += width;
    panels_.push_back(std::make_unique<TStatusPanel>(label));
}

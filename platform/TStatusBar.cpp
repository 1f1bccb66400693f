#include "platform/TStatusBar.h"

#include "platform/QtStrings.h"

#include <QFrame>
#include <QLabel>

std::string TStatusPanel::Text() const {
    return FromQ(Label_->text());
}
void TStatusPanel::SetText(const std::string& text) {
    Label_->setText(ToQ(text));
}
int TStatusPanel::Width() const {
    return Label_->width();
}

TStatusBar::TStatusBar(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QWidget(parent)) {
    SetBounds(left, top, width, height);
}

void TStatusBar::AddPanel(int width, bool centred) {
    auto* label = new QLabel(Widget_);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setIndent(2);
    label->setGeometry(NextLeft_, 2, width - 2, Widget_->height() - 2);
    NextLeft_ += width;
    Panels_.push_back(std::make_unique<TStatusPanel>(label));
}

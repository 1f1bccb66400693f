#include "platform/TLabel.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

class ClickLabel final : public QLabel {
public:
    ClickLabel(QWidget* parent, TLabel* owner) : QLabel(parent), owner_(owner) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            owner_->Click();
        QLabel::mouseReleaseEvent(event);
    }

private:
    TLabel* owner_;
};

QLabel* AsLabel(QWidget* w) {
    return static_cast<QLabel*>(w);
}

} // namespace

TLabel::TLabel(QWidget* parent, int left, int top, const std::string& caption)
    : TControl(new ClickLabel(parent, this)) {
    AsLabel(widget_)->setTextFormat(Qt::PlainText);
    AsLabel(widget_)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget_->move(left, top);
    SetCaption(caption);
}

void TLabel::SetCaption(const std::string& caption) {
    AsLabel(widget_)->setText(ToQ(caption));
    if (autoSize_)
        widget_->adjustSize();
}

std::string TLabel::Caption() const {
    return FromQ(AsLabel(widget_)->text());
}

void TLabel::SetFixedBounds(int left, int top, int width, int height) {
    autoSize_ = false;
    SetBounds(left, top, width, height);
}

void TLabel::SetBackground(int red, int green, int blue) {
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, QColor(red, green, blue));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
}

void TLabel::SetLinkStyle(const std::string& fontName, int pixelHeight) {
    SetFont(fontName, pixelHeight);
    QFont font = widget_->font();
    font.setUnderline(true);
    widget_->setFont(font);
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    widget_->setPalette(palette);
    widget_->setCursor(Qt::PointingHandCursor);
    if (autoSize_)
        widget_->adjustSize();
}

void TLabel::Click() {
    RunGuarded(OnClick);
}

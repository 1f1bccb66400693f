#include "platform/TLabel.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

class ClickLabel final : public QLabel {
public:
    ClickLabel(QWidget* parent, TLabel* owner) : QLabel(parent), Owner_(owner) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Owner_->Click();
        QLabel::mouseReleaseEvent(event);
    }

private:
    TLabel* Owner_;
};

QLabel* AsLabel(QWidget* w) {
    return static_cast<QLabel*>(w);
}

} // namespace

TLabel::TLabel(QWidget* parent, int left, int top, const std::string& caption)
    : TControl(new ClickLabel(parent, this)) {
    AsLabel(Widget_)->setTextFormat(Qt::PlainText);
    AsLabel(Widget_)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Widget_->move(left, top);
    SetCaption(caption);
}

void TLabel::SetCaption(const std::string& caption) {
    AsLabel(Widget_)->setText(ToQ(caption));
    if (AutoSize_)
        Widget_->adjustSize();
}

std::string TLabel::Caption() const {
    return FromQ(AsLabel(Widget_)->text());
}

void TLabel::SetFixedBounds(int left, int top, int width, int height) {
    AutoSize_ = false;
    SetBounds(left, top, width, height);
}

void TLabel::SetBackground(int red, int green, int blue) {
    QPalette palette = Widget_->palette();
    palette.setColor(QPalette::Window, QColor(red, green, blue));
    Widget_->setPalette(palette);
    Widget_->setAutoFillBackground(true);
}

void TLabel::SetLinkStyle(const std::string& fontName, int pixelHeight) {
    SetFont(fontName, pixelHeight);
    QFont font = Widget_->font();
    font.setUnderline(true);
    Widget_->setFont(font);
    QPalette palette = Widget_->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Widget_->setPalette(palette);
    Widget_->setCursor(Qt::PointingHandCursor);
    if (AutoSize_)
        Widget_->adjustSize();
}

void TLabel::Click() {
    RunGuarded(OnClick);
}

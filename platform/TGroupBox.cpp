#include "platform/TGroupBox.h"

#include "platform/QtStrings.h"

#include <QGroupBox>
#include <QPainter>

namespace {

// The desktop's group box: an etched frame whose top edge runs through the
// middle of the caption, the caption drawn over it on the face colour. The
// platform style would put the caption above the frame and push the frame
// down across the controls placed at the form's positions.
class CaptionedFrame final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QFontMetrics metrics(font());
        const int top = metrics.height() / 2;
        const int w = width(), h = height();
        const QColor shadow(160, 160, 160), light(255, 255, 255);
        p.setPen(light);
        p.drawRect(1, top + 1, w - 2, h - top - 2);
        p.setPen(shadow);
        p.drawRect(0, top, w - 2, h - top - 2);
        const QString text = title();
        if (text.isEmpty())
            return;
        const QRect caption(8, 0, metrics.horizontalAdvance(text) + 2, metrics.height());
        p.fillRect(caption, palette().color(QPalette::Window));
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
        p.drawText(caption, Qt::AlignCenter, text);
    }
};

} // namespace

TGroupBox::TGroupBox(QWidget* parent, int left, int top, int width, int height,
                     const std::string& caption)
    : TControl(new CaptionedFrame(ToQ(caption), parent)) {
    SetBounds(left, top, width, height);
}

std::string TGroupBox::Caption() const {
    return FromQ(static_cast<QGroupBox*>(Widget_)->title());
}

#include "platform/TPanel.h"

#include <QPainter>
#include <QWidget>

namespace {

// Outer bevel lowered, inner bevel raised, one pixel each.
class BevelPanel final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor shadow(160, 160, 160), light(255, 255, 255);
        const int r = width() - 1, b = height() - 1;
        auto frame = [&p](int l, int t, int rr, int bb, const QColor& topLeft,
                          const QColor& bottomRight) {
            p.setPen(topLeft);
            p.drawLine(l, t, rr, t);
            p.drawLine(l, t, l, bb);
            p.setPen(bottomRight);
            p.drawLine(rr, t, rr, bb);
            p.drawLine(l, bb, rr, bb);
        };
        frame(0, 0, r, b, shadow, light);
        frame(1, 1, r - 1, b - 1, light, shadow);
    }
};

} // namespace

TPanel::TPanel(QWidget* parent, int left, int top, int width, int height)
    : TControl(new BevelPanel(parent)) {
    SetBounds(left, top, width, height);
}

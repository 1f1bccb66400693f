#include "platform/TImage.h"

#include "platform/ProgramIcon.h"

#include <QLabel>
#include <cmath>

TImage::TImage(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QLabel(parent)) {
    static_cast<QLabel*>(Widget_)->setScaledContents(true);
    SetBounds(left, top, width, height);
}

void TImage::ShowProgramIcon() {
    // Drawn at the screen's pixels, so a scaled desktop shows no blown-up copy.
    const qreal dpr = Widget_->devicePixelRatioF();
    QImage icon = ProgramIconImage(static_cast<int>(std::ceil(32 * dpr)));
    icon.setDevicePixelRatio(dpr);
    static_cast<QLabel*>(Widget_)->setPixmap(QPixmap::fromImage(icon));
}

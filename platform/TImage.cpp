#include "platform/TImage.h"

#include "platform/ProgramIcon.h"

#include <QLabel>

TImage::TImage(QWidget* parent, int left, int top, int width, int height)
    : TControl(new QLabel(parent)) {
    static_cast<QLabel*>(widget_)->setScaledContents(true);
    SetBounds(left, top, width, height);
}

void TImage::ShowProgramIcon() {
    static_cast<QLabel*>(widget_)->setPixmap(QPixmap::fromImage(ProgramIconImage(32)));
}

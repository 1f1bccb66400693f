#include "platform/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage ProgramIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 40, 112));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    // The ball.
    QRadialGradient ball(QPointF(14, 13), 8);
    ball.setColorAt(0, QColor(255, 255, 255));
    ball.setColorAt(1, QColor(150, 150, 160));
    p.setBrush(ball);
    p.drawEllipse(QPointF(16, 16), 6.5, 6.5);

    // The snake: an S curve in silver with a red eye.
    QPainterPath snake;
    snake.moveTo(25, 6);
    snake.cubicTo(13, 2, 4, 10, 10, 16);
    snake.cubicTo(16, 22, 28, 20, 22, 27);
    snake.cubicTo(18, 31, 9, 29, 6, 26);
    QPen body(QColor(210, 214, 224), 3.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(body);
    p.setBrush(Qt::NoBrush);
    p.drawPath(snake);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 30, 30));
    p.drawEllipse(QPointF(25, 6), 1.4, 1.4);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

#include "platform/DefaultUIFont.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <cmath>

bool SystemLocaleIsJapanese() {
    return QLocale::system().language() == QLocale::Japanese;
}

TUIFontInfo DefaultUIFont() {
    TUIFontInfo info{"IPAPGothic", 9};
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return info;
    const QFont font = QGuiApplication::font();
    info.Name = font.family().toStdString();
    double dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    const int pixels = QFontInfo(font).pixelSize();
    if (pixels != 0 && dpi > 0)
        info.PointSize = int(std::lround(std::abs(pixels) * 72.0 / dpi));
    else if (font.pointSize() > 0)
        info.PointSize = font.pointSize();
    return info;
}

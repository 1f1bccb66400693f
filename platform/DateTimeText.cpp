#include "platform/DateTimeText.h"

#include "platform/QtStrings.h"

#include <QDateTime>
#include <QLocale>

namespace {
std::string Format(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    return FromQ(locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
                 locale.toString(when.time(), QLocale::LongFormat));
}
} // namespace

std::string NowText() {
    return Format(QDateTime::currentDateTime());
}

std::string DateTimeText(std::time_t when) {
    return Format(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(when)));
}

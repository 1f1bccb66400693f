#pragma once
// UTF-8 std::string <-> QString at the platform boundary.

#include <QString>
#include <string>

inline QString ToQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string FromQ(const QString& s) {
    return s.toStdString();
}

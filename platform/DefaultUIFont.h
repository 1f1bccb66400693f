#pragma once
// The platform's default user-interface font and the system locale's
// language, for the chart engine's default font rule.

#include <string>

// Whether the system locale's primary language is Japanese.
bool SystemLocaleIsJapanese();

struct TUIFontInfo {
    std::string Name;
    // Points: the font's pixel height at the screen's pixels per inch, 72 points
    // per inch, sign removed.
    int PointSize = 0;
};
// Qt's application font (needs a QGuiApplication; without one, "IPAPGothic" 9).
TUIFontInfo DefaultUIFont();

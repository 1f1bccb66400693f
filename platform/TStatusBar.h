#pragma once
// A status bar made of text panels laid side by side.

#include "platform/TControl.h"

#include <memory>
#include <vector>

class QLabel;

class TStatusPanel {
public:
    explicit TStatusPanel(QLabel* label) : Label_(label) {}
    std::string Text() const;
    void SetText(const std::string& text);
    int Width() const;

private:
    QLabel* Label_;
};

class TStatusBar : public TControl {
public:
    TStatusBar(QWidget* parent, int left, int top, int width, int height);

    void AddPanel(int width, bool centred);
    TStatusPanel& Panel(int index) { return *Panels_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<std::unique_ptr<TStatusPanel>> Panels_;
    int NextLeft_ = 0;
};

#pragma once
// The menu bar of a main window.

#include "platform/TMenuItem.h"

class QMenuBar;

class TMainMenu {
public:
    explicit TMainMenu(QMenuBar* bar);
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;

    TMenuItem& AddMenu(const std::string& name, const std::string& caption);
    int Count() const { return static_cast<int>(Menus_.size()); }
    TMenuItem& Menu(int index) { return *Menus_.at(static_cast<std::size_t>(index)); }

private:
    QMenuBar* Bar_;
    std::vector<std::unique_ptr<TMenuItem>> Menus_;
};

#include "platform/TMainMenu.h"

#include "platform/QtStrings.h"

#include <QMenuBar>

TMainMenu::TMainMenu(QMenuBar* bar) : Bar_(bar) {}

TMainMenu::~TMainMenu() = default;

TMenuItem& TMainMenu::AddMenu(const std::string& name, const std::string& caption) {
    QMenu* menu = Bar_->addMenu(ToQ(caption));
    Menus_.push_back(std::make_unique<TMenuItem>(menu, name));
    return *Menus_.back();
}

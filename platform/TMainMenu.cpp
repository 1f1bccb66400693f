#include "platform/TMainMenu.h"

#include "platform/QtStrings.h"

#include <QMenuBar>

TMainMenu::TMainMenu(QMenuBar* bar) : bar_(bar) {}

TMainMenu::~TMainMenu() = default;

TMenuItem& TMainMenu::AddMenu(const std::string& name, const std::string& caption) {
    QMenu* menu = bar_->addMenu(ToQ(caption));
    menus_.push_back(std::make_unique<TMenuItem>(menu, name));
    return *menus_.back();
}

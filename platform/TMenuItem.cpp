#include "platform/TMenuItem.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QAction>
#include <QMenu>

TMenuItem::TMenuItem(QMenu* menu, const std::string& name) : menu_(menu), name_(name) {}

TMenuItem::TMenuItem(QAction* action, const std::string& name) : action_(action), name_(name) {
    QObject::connect(action_, &QAction::triggered, [this] { RunGuarded(OnClick); });
}

TMenuItem::~TMenuItem() = default;

std::string TMenuItem::Caption() const {
    return FromQ(menu_ ? menu_->title() : action_->text());
}

bool TMenuItem::IsSeparator() const {
    return action_ && action_->isSeparator();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (menu_)
        menu_->setEnabled(enabled);
    else
        action_->setEnabled(enabled);
}

bool TMenuItem::Enabled() const {
    return menu_ ? menu_->isEnabled() : action_->isEnabled();
}

TMenuItem& TMenuItem::Add(const std::string& name, const std::string& caption) {
    QAction* action = menu_->addAction(ToQ(caption));
    items_.push_back(std::make_unique<TMenuItem>(action, name));
    return *items_.back();
}

TMenuItem& TMenuItem::AddSeparator(const std::string& name) {
    QAction* action = menu_->addSeparator();
    items_.push_back(std::make_unique<TMenuItem>(action, name));
    return *items_.back();
}

void TMenuItem::Click() {
    if (action_ && action_->isEnabled() && !action_->isSeparator())
        action_->trigger();
}

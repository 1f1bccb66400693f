#include "platform/TMenuItem.h"

#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QAction>
#include <QMenu>

TMenuItem::TMenuItem(QMenu* menu, const std::string& name) : Menu_(menu), Name_(name) {}

TMenuItem::TMenuItem(QAction* action, const std::string& name) : Action_(action), Name_(name) {
    QObject::connect(Action_, &QAction::triggered, [this] { RunGuarded(OnClick); });
}

TMenuItem::~TMenuItem() = default;

std::string TMenuItem::Caption() const {
    return FromQ(Menu_ ? Menu_->title() : Action_->text());
}

bool TMenuItem::IsSeparator() const {
    return Action_ && Action_->isSeparator();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (Menu_)
        Menu_->setEnabled(enabled);
    else
        Action_->setEnabled(enabled);
}

bool TMenuItem::Enabled() const {
    return Menu_ ? Menu_->isEnabled() : Action_->isEnabled();
}

TMenuItem& TMenuItem::Add(const std::string& name, const std::string& caption) {
    QAction* action = Menu_->addAction(ToQ(caption));
    Items_.push_back(std::make_unique<TMenuItem>(action, name));
    return *Items_.back();
}

TMenuItem& TMenuItem::AddSeparator(const std::string& name) {
    QAction* action = Menu_->addSeparator();
    Items_.push_back(std::make_unique<TMenuItem>(action, name));
    return *Items_.back();
}

void TMenuItem::Click() {
    if (Action_ && Action_->isEnabled() && !Action_->isSeparator())
        Action_->trigger();
}

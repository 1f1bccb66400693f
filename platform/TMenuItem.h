#pragma once
// A menu or menu item of the main menu; separators are items too.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

class TMenuItem {
public:
    // A drop-down menu.
    TMenuItem(QMenu* menu, const std::string& name);
    // A command or separator inside a drop-down menu.
    TMenuItem(QAction* action, const std::string& name);
    ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    const std::string& Name() const { return Name_; }
    std::string Caption() const;
    bool IsSeparator() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;

    // Only for drop-down menus.
    TMenuItem& Add(const std::string& name, const std::string& caption);
    TMenuItem& AddSeparator(const std::string& name);
    int Count() const { return static_cast<int>(Items_.size()); }
    TMenuItem& Item(int index) { return *Items_.at(static_cast<std::size_t>(index)); }

    // Acts as a user's choice: nothing happens while the item is disabled.
    void Click();

    std::function<void()> OnClick;

private:
    QMenu* Menu_ = nullptr;
    QAction* Action_ = nullptr;
    std::string Name_;
    std::vector<std::unique_ptr<TMenuItem>> Items_;
};

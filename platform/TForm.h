#pragma once
// A top-level window: the main window (menu bar above its client area) or a
// dialog. Fixed size, not maximisable, centred on the desktop when shown.

#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;
class TMainMenu;

class TForm {
public:
    enum class Kind { MainWindow, Dialog };
    enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

    explicit TForm(Kind kind);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // The parent of the form's controls; its origin is the client area's.
    QWidget* Client() const { return Client_; }
    QWidget* Window() const;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // The client area below the menu; the window cannot be resized.
    void SetClientSize(int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetFormFont(const std::string& name, int pixelHeight);
    void UseProgramIcon();
    // Main windows only.
    TMainMenu& CreateMainMenu();
    TMainMenu* Menu() const { return Menu_.get(); }

    void Show();
    void Close();
    bool Visible() const;
    bool CanMaximise() const;
    bool CanResize() const;

    // Dialogs: shows modally and returns how the dialog was closed.
    int ShowModal();
    void SetModalResult(int result);
    bool IsModalShowing() const;

    // One local file dropped anywhere on the window is handed to onDrop,
    // after the drop has ended (so that onDrop may show a message box).
    void AcceptFileDrops(std::function<void(const std::string& path)> onDrop);

    // Called when the window is being closed by the user or by Close(); for
    // dialogs also on Esc and when a modal result closes them.
    virtual void FormClose() {}

private:
    void FixSize();
    void CentreOnDesktop();

    Kind Kind_;
    std::unique_ptr<QWidget> Window_;
    QWidget* Client_ = nullptr;
    std::unique_ptr<TMainMenu> Menu_;
    std::unique_ptr<QObject> DropFilter_;
    int ClientWidth_ = 0;
    int ClientHeight_ = 0;
};

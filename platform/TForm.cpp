#include "platform/TForm.h"

#include "platform/FontNames.h"
#include "platform/ProgramIcon.h"
#include "platform/QtStrings.h"
#include "platform/TApplication.h"
#include "platform/TMainMenu.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace {

class MainWindow final : public QMainWindow {
public:
    explicit MainWindow(TForm* owner) : Owner_(owner) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        Owner_->FormClose();
        event->accept();
    }

private:
    TForm* Owner_;
};

class DialogWindow final : public QDialog {
public:
    explicit DialogWindow(TForm* owner) : Owner_(owner) {}

    // Every way a dialog goes away ends here: its close button and Close()
    // (through closeEvent's reject), Esc (reject) and a modal result.
    void done(int result) override {
        Owner_->FormClose();
        QDialog::done(result);
    }

private:
    TForm* Owner_;
};

// Sees drags before any control does, so that a file dropped on an edit box
// or a list opens the file instead of pasting its name.
class FileDropFilter final : public QObject {
public:
    FileDropFilter(QWidget* window, std::function<void(const std::string&)> onDrop)
        : Window_(window), OnDrop_(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != Window_)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData() || !drop->mimeData()->hasUrls())
            return false; // plain text still drops into an edit box
        // Files and addresses other than one local file are refused rather
        // than pasted as text.
        const QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (type == QEvent::Drop) {
            const std::string file = FromQ(path);
            auto handler = [onDrop = OnDrop_, file] { onDrop(file); };
            if (Application)
                Application->Post(handler);
            else
                QTimer::singleShot(0, this, handler);
        }
        return true;
    }

private:
    static QString DroppedFile(const QMimeData* data) {
        if (data->urls().size() != 1)
            return {};
        const QUrl url = data->urls().first();
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }

    QWidget* Window_;
    std::function<void(const std::string&)> OnDrop_;
};

} // namespace

TForm::TForm(Kind kind) : Kind_(kind) {
    if (kind == Kind::MainWindow) {
        auto* window = new MainWindow(this);
        Window_.reset(window);
        Client_ = new QWidget(window);
        window->setCentralWidget(Client_);
        // System menu and minimise only: no maximise, no resizing.
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint);
    } else {
        auto* dialog = new DialogWindow(this);
        Window_.reset(dialog);
        Client_ = dialog;
        dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
    Client_->setAutoFillBackground(true);
    QPalette palette = Client_->palette();
    palette.setColor(QPalette::Window, QColor(240, 240, 240)); // button face
    Client_->setPalette(palette);
}

TForm::~TForm() = default;

QWidget* TForm::Window() const {
    return Window_.get();
}

void TForm::SetCaption(const std::string& caption) {
    Window_->setWindowTitle(ToQ(caption));
}

std::string TForm::Caption() const {
    return FromQ(Window_->windowTitle());
}

void TForm::SetClientSize(int width, int height) {
    ClientWidth_ = width;
    ClientHeight_ = height;
    FixSize();
}

int TForm::ClientWidth() const {
    return Client_->width();
}
int TForm::ClientHeight() const {
    return Client_->height();
}

void TForm::SetFormFont(const std::string& name, int pixelHeight) {
    QFont font(ToQ(MappedFontFamily(name)));
    font.setPixelSize(pixelHeight);
    Window_->setFont(font);
    FixSize();
}

void TForm::UseProgramIcon() {
    Window_->setWindowIcon(ProgramIcon());
}

TMainMenu& TForm::CreateMainMenu() {
    auto* window = static_cast<QMainWindow*>(Window_.get());
    Menu_ = std::make_unique<TMainMenu>(window->menuBar());
    return *Menu_;
}

void TForm::FixSize() {
    Client_->setFixedSize(ClientWidth_, ClientHeight_);
    int menuHeight = 0;
    if (Kind_ == Kind::MainWindow) {
        QMenuBar* bar = static_cast<QMainWindow*>(Window_.get())->menuBar();
        menuHeight = bar->heightForWidth(ClientWidth_);
        if (menuHeight <= 0)
            menuHeight = bar->sizeHint().height();
    }
    Window_->setFixedSize(ClientWidth_, ClientHeight_ + menuHeight);
}

void TForm::CentreOnDesktop() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->availableGeometry();
    Window_->move(desk.center() - QPoint(Window_->width() / 2, Window_->height() / 2));
}

void TForm::Show() {
    FixSize();
    CentreOnDesktop();
    Window_->show();
}

void TForm::Close() {
    Window_->close();
}

bool TForm::Visible() const {
    return Window_->isVisible();
}

bool TForm::CanMaximise() const {
    return Window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
}

bool TForm::CanResize() const {
    return Window_->minimumSize() != Window_->maximumSize();
}

int TForm::ShowModal() {
    auto* dialog = static_cast<QDialog*>(Window_.get());
    FixSize();
    CentreOnDesktop();
    return dialog->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void TForm::SetModalResult(int result) {
    if (Kind_ != Kind::Dialog)
        return;
    auto* dialog = static_cast<QDialog*>(Window_.get());
    dialog->done(result == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

bool TForm::IsModalShowing() const {
    return Kind_ == Kind::Dialog && Window_->isVisible() && Window_->isModal();
}

void TForm::AcceptFileDrops(std::function<void(const std::string& path)> onDrop) {
    DropFilter_ = std::make_unique<FileDropFilter>(Window_.get(), std::move(onDrop));
    QCoreApplication::instance()->installEventFilter(DropFilter_.get());
    Window_->setAcceptDrops(true);
}

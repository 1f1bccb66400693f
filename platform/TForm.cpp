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
    explicit MainWindow(TForm* owner) : owner_(owner) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        owner_->FormClose();
        event->accept();
    }

private:
    TForm* owner_;
};

class DialogWindow final : public QDialog {
public:
    explicit DialogWindow(TForm* owner) : owner_(owner) {}

    // Every way a dialog goes away ends here: its close button and Close()
    // (through closeEvent's reject), Esc (reject) and a modal result.
    void done(int result) override {
        owner_->FormClose();
        QDialog::done(result);
    }

private:
    TForm* owner_;
};

// Sees drags before any control does, so that a file dropped on an edit box
// or a list opens the file instead of pasting its name.
class FileDropFilter final : public QObject {
public:
    FileDropFilter(QWidget* window, std::function<void(const std::string&)> onDrop)
        : window_(window), onDrop_(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_)
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
            auto handler = [onDrop = onDrop_, file] { onDrop(file); };
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

    QWidget* window_;
    std::function<void(const std::string&)> onDrop_;
};

} // namespace

TForm::TForm(Kind kind) : kind_(kind) {
    if (kind == Kind::MainWindow) {
        auto* window = new MainWindow(this);
        window_.reset(window);
        client_ = new QWidget(window);
        window->setCentralWidget(client_);
        // System menu and minimise only: no maximise, no resizing.
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint);
    } else {
        auto* dialog = new DialogWindow(this);
        window_.reset(dialog);
        client_ = dialog;
        dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
    client_->setAutoFillBackground(true);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, QColor(240, 240, 240)); // button face
    client_->setPalette(palette);
}

TForm::~TForm() = default;

QWidget* TForm::Window() const {
    return window_.get();
}

void TForm::SetCaption(const std::string& caption) {
    window_->setWindowTitle(ToQ(caption));
}

std::string TForm::Caption() const {
    return FromQ(window_->windowTitle());
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    FixSize();
}

int TForm::ClientWidth() const {
    return client_->width();
}
int TForm::ClientHeight() const {
    return client_->height();
}

void TForm::SetFormFont(const std::string& name, int pixelHeight) {
    QFont font(ToQ(MappedFontFamily(name)));
    font.setPixelSize(pixelHeight);
    window_->setFont(font);
    FixSize();
}

void TForm::UseProgramIcon() {
    window_->setWindowIcon(ProgramIcon());
}

TMainMenu& TForm::CreateMainMenu() {
    auto* window = static_cast<QMainWindow*>(window_.get());
    menu_ = std::make_unique<TMainMenu>(window->menuBar());
    return *menu_;
}

void TForm::FixSize() {
    client_->setFixedSize(clientWidth_, clientHeight_);
    int menuHeight = 0;
    if (kind_ == Kind::MainWindow) {
        QMenuBar* bar = static_cast<QMainWindow*>(window_.get())->menuBar();
        menuHeight = bar->heightForWidth(clientWidth_);
        if (menuHeight <= 0)
            menuHeight = bar->sizeHint().height();
    }
    window_->setFixedSize(clientWidth_, clientHeight_ + menuHeight);
}

void TForm::CentreOnDesktop() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->availableGeometry();
    window_->move(desk.center() - QPoint(window_->width() / 2, window_->height() / 2));
}

void TForm::Show() {
    FixSize();
    CentreOnDesktop();
    window_->show();
}

void TForm::Close() {
    window_->close();
}

bool TForm::Visible() const {
    return window_->isVisible();
}

bool TForm::CanMaximise() const {
    return window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
}

bool TForm::CanResize() const {
    return window_->minimumSize() != window_->maximumSize();
}

int TForm::ShowModal() {
    auto* dialog = static_cast<QDialog*>(window_.get());
    FixSize();
    CentreOnDesktop();
    return dialog->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void TForm::SetModalResult(int result) {
    if (kind_ != Kind::Dialog)
        return;
    auto* dialog = static_cast<QDialog*>(window_.get());
    dialog->done(result == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

bool TForm::IsModalShowing() const {
    return kind_ == Kind::Dialog && window_->isVisible() && window_->isModal();
}

void TForm::AcceptFileDrops(std::function<void(const std::string& path)> onDrop) {
    dropFilter_ = std::make_unique<FileDropFilter>(window_.get(), std::move(onDrop));
    QCoreApplication::instance()->installEventFilter(dropFilter_.get());
    window_->setAcceptDrops(true);
}


#include "platform/TApplication.h"

#include "platform/DialogSeam.h"
#include "platform/QtStrings.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <exception>

TApplication* Application = nullptr;

namespace {

// Qt's own dialogs (file dialogs, message box buttons) speak Japanese with
// every text of the program, whatever the system locale; installed once for
// the life of the process.
void InstallJapaneseTranslations() {
    static QTranslator* translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace

TApplication::TApplication(int& argc, char** argv) {
    if (!QApplication::instance())
        Owned_ = std::make_unique<QApplication>(argc, argv);
    InstallJapaneseTranslations();
    Application = this;
}

TApplication::~TApplication() {
    if (Application == this)
        Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
    Title_ = title;
    // Not the display name: the window system would append that to the title
    // of every dialog ("エラー — <title>").
    QApplication::setApplicationDisplayName(QString());
}

int TApplication::Run() {
    QApplication::setQuitOnLastWindowClosed(true);
    Running_ = true;
    const int code = QApplication::exec();
    Running_ = false;
    return code;
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::ProcessMessagesFor(int milliseconds, const std::function<bool()>& done) {
    if (milliseconds <= 0 || (done && done()))
        return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    constexpr int PollMs = 15;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done && done())
            loop.quit();
    });
    deadline.start(milliseconds);
    if (done)
        poll.start(PollMs);
    loop.exec();
}

void TApplication::Terminate() {
    // Outside the loop (tests drive the window without it) there is nothing
    // to end, and a pending exit would cut the next loop short.
    if (!Running_)
        return;
    // Posted, so that the window being closed finishes closing first; exit,
    // not quit, which would ask every window to close once more.
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
}

void TApplication::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("");
    }
}

void TApplication::ShowException(const std::string& message) {
    DialogSeam().ShowMessage({Title_, message, true});
}

void TApplication::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::Post(const std::function<void()>& handler) {
    QTimer::singleShot(0, QCoreApplication::instance(), [this, handler] { Guarded(handler); });
}

std::string TApplication::ExeDir() {
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    return FromQ(QDir::toNativeSeparators(dir)) + "/";
}

void RunGuarded(const std::function<void()>& handler) {
    if (!handler)
        return;
    if (Application) {
        Application->Guarded(handler);
        return;
    }
    // Without an application object nothing may escape into Qt's event loop.
    try {
        handler();
    } catch (const std::exception& e) {
        DialogSeam().ShowMessage({"", e.what(), true});
    } catch (...) {
        DialogSeam().ShowMessage({"", "", true});
    }
}

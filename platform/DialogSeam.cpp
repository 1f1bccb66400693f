#include "platform/DialogSeam.h"

#include "platform/DesktopDialogs.h"
#include "platform/MessageText.h"
#include "platform/QtStrings.h"
#include "platform/TApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace {

// "description|pattern" as Qt writes it: "description (pattern)".
QString QtFilter(const std::string& filter) {
    const QString f = ToQ(filter);
    const qsizetype bar = f.indexOf(u'|');
    if (bar < 0)
        return f;
    return f.left(bar) + QStringLiteral(" (") + f.mid(bar + 1) + u')';
}

bool IsAddress(const QString& file) {
    return file.startsWith(QStringLiteral("http:"), Qt::CaseInsensitive) ||
           file.startsWith(QStringLiteral("https:"), Qt::CaseInsensitive) ||
           file.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
}

bool IsPattern(const QString& name) {
    return name.contains(u'*') || name.contains(u'?');
}

// Dialog buttons carry their text only, as on the desktop; some platform
// styles add an icon to OK, Cancel and Open.
void PlainButtons(QWidget* dialog) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (!button->text().isEmpty())
            button->setIcon(QIcon());
}

// The message box breaks a line itself once the text is wider than half the
// screen (at most 500 pixels) with its icon and margins; lines kept well below
// that are left as they are.
int MessageLineWidth(const QWidget& box) {
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    return std::max(200, std::min(screenWidth / 2, 500) - 120);
}

// The list's type and date columns in Japanese whatever the system locale:
// Qt takes them from the locale and from the MIME database, which speak
// English under C.UTF-8 and leave "Folder" untranslated even in ja_JP.
class JapaneseFileColumns final : public QIdentityProxyModel {
public:
    JapaneseFileColumns(QObject* parent, const std::string& filter)
        : QIdentityProxyModel(parent), Filter_(ToQ(filter)) {}

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr || role != Qt::DisplayRole || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        switch (index.column()) {
        case 2:
            return FileTypeText(files->fileInfo(source));
        case 3:
            return QLocale(QLocale::Japanese, QLocale::Japan)
                .toString(files->lastModified(source), QStringLiteral("yyyy/MM/dd HH:mm"));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    QString FileTypeText(const QFileInfo& info) const {
        if (info.isDir())
            return QStringLiteral("ファイル フォルダー");
        const qsizetype bar = Filter_.indexOf(u'|');
        if (bar > 0) {
            const QString pattern = Filter_.mid(bar + 1);
            if (QDir::match(pattern, info.fileName()))
                return Filter_.left(bar);
        }
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("ファイル")
                                : suffix.toUpper() + QStringLiteral(" ファイル");
    }

    QString Filter_;
};

class DesktopSeam final : public TDialogSeam {
public:
    void ShowMessage(const TMessageRequest& request) override {
        CreateMessageBox(request, QApplication::activeWindow())->exec();
    }

    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        const auto dialog = CreateFileDialog(request, QApplication::activeWindow());
        if (request.Folder) {
            if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
                return std::nullopt;
            return FromQ(dialog->selectedFiles().first());
        }
        while (true) {
            if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
                return std::nullopt;
            const QString chosen = dialog->selectedFiles().first();
            const QString name = QFileInfo(chosen).fileName();
            if (!IsPattern(name))
                return FromQ(chosen);
            // A pattern in the name field filters the list, as on the desktop.
            dialog->setNameFilter(name);
            dialog->selectFile(name);
        }
    }

    void ShellExecute(const TShellRequest& request) override {
        const QString file = ToQ(request.File);
        if (IsAddress(file)) {
            QDesktopServices::openUrl(QUrl(file));
            return;
        }
        const QFileInfo info(file);
        if (!info.exists())
            return; // the shell would only complain; the window stays as it is
        if (info.suffix().compare(QStringLiteral("exe"), Qt::CaseInsensitive) == 0 ||
            (info.isExecutable() && !info.isDir())) {
            QProcess::startDetached(info.absoluteFilePath(),
                                    ToQ(request.Parameters).split(u' ', Qt::SkipEmptyParts),
                                    info.absolutePath());
            return;
        }
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    }

    // xdg-open's exit code tells whether a program took the file (Qt's
    // openUrl only tells whether xdg-open started). It may run as long as
    // the viewer does, so it is watched, not waited for.
    void OpenDocument(const std::string& path, std::function<void()> onFailure) override {
        auto failed = [onFailure] { RunGuarded(onFailure); };
        const QFileInfo info(ToQ(path));
        if (!info.isFile()) {
            QTimer::singleShot(0, QCoreApplication::instance(), failed);
            return;
        }
        auto* opener = new QProcess(QCoreApplication::instance());
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->setStandardOutputFile(QProcess::nullDevice());
        opener->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(opener, &QProcess::errorOccurred, opener,
                         [opener, failed](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart)
                                 return;
                             opener->deleteLater();
                             failed();
                         });
        QObject::connect(opener, &QProcess::finished, opener,
                         [opener, failed](int code, QProcess::ExitStatus status) {
                             opener->deleteLater();
                             if (status != QProcess::NormalExit || code != 0)
                                 failed();
                         });
        opener->start(QStringLiteral("xdg-open"), {info.absoluteFilePath()});
    }
};

TDialogSeam* installedSeam = nullptr;

} // namespace

std::unique_ptr<QMessageBox> CreateMessageBox(const TMessageRequest& request, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(request.ErrorIcon ? QMessageBox::Critical : QMessageBox::Information);
    box->setWindowTitle(ToQ(request.Caption));
    box->setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(box->font());
    box->setText(
        ToQ(WrapMessageText(request.Text, MessageLineWidth(*box), [&](const std::string& line) {
            return metrics.horizontalAdvance(ToQ(line));
        })));
    box->setStandardButtons(QMessageBox::Ok);
    PlainButtons(box.get());
    return box;
}

std::unique_ptr<QFileDialog> CreateFileDialog(const TFileDialogRequest& request, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    // Qt's own dialog, so that it speaks the program's language and can be
    // laid out here.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setProxyModel(new JapaneseFileColumns(dialog.get(), request.Filter));
    dialog->setNameFilter(QtFilter(request.Filter));
    dialog->setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // No must-exist check and no overwrite prompt: the commands decide.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setViewMode(QFileDialog::Detail);
    if (request.Folder) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly, true);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        if (!request.FileName.empty())
            dialog->setDirectory(ToQ(request.FileName));
    }
    // The dialog starts with the name it was given, a pattern included.
    const QString name = ToQ(request.FileName);
    if (!name.isEmpty() && !request.Folder) {
        dialog->selectFile(name);
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->setText(name);
    }
    // Every column wide enough for its caption and its entries; the name
    // takes what is left.
    if (auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = tree->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(40);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    dialog->resize(std::max(dialog->sizeHint().width(), 640),
                   std::max(dialog->sizeHint().height(), 400));
    PlainButtons(dialog.get());
    return dialog;
}

void TDialogSeam::OpenDocument(const std::string& path, std::function<void()> /*onFailure*/) {
    ShellExecute({"open", path, "", SW_SHOWNORMAL});
}

TDialogSeam& DesktopDialogSeam() {
    static DesktopSeam desktop;
    return desktop;
}

TDialogSeam& DialogSeam() {
    return installedSeam ? *installedSeam : DesktopDialogSeam();
}

void SetDialogSeam(TDialogSeam* seam) {
    installedSeam = seam;
}

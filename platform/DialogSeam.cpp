#include "platform/DialogSeam.h"

#include "platform/QtStrings.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
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

class DesktopSeam final : public TDialogSeam {
public:
    void ShowMessage(const TMessageRequest& request) override {
        QMessageBox box(request.ErrorIcon ? QMessageBox::Critical : QMessageBox::Information,
                        ToQ(request.Caption), ToQ(request.Text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }

    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        QFileDialog dialog(QApplication::activeWindow());
        dialog.setNameFilter(QtFilter(request.Filter));
        dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // No must-exist check and no overwrite prompt: the commands decide.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        const QString name = ToQ(request.FileName);
        if (!name.contains(u'*') && !name.isEmpty())
            dialog.selectFile(name);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return FromQ(dialog.selectedFiles().first());
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
};

TDialogSeam* installedSeam = nullptr;

} // namespace

TDialogSeam& DialogSeam() {
    static DesktopSeam desktop;
    return installedSeam ? *installedSeam : desktop;
}

void SetDialogSeam(TDialogSeam* seam) {
    installedSeam = seam;
}

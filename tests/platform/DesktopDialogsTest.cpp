// The desktop's message box and file dialog as the program sets them up:
// Japanese, plain buttons, whole columns, the starting name, titles shown
// exactly as given.

#include "platform/DesktopDialogs.h"
#include "platform/TApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

TApplication& EnsureApplication() {
    if (!Application) {
        static int argc = 1;
        static char name[] = "tests_platform";
        static char* argv[] = {name, nullptr};
        static TApplication app(argc, argv);
    }
    return *Application;
}

bool HasJapanese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x3000)
            return true;
    return false;
}

void WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(DesktopDialogs, TitlesAreShownExactlyAsGiven) {
    EnsureApplication().SetTitle("ヨナタマ - 銀蛇XX");
    // The window system appends the application's display name to every
    // title that does not already end in it.
    const QString appended = QGuiApplication::applicationDisplayName();
    for (const char* title : {"バージョン情報", "エラー", "ヨナタマ - 銀蛇XX"})
        EXPECT_TRUE(QString::fromUtf8(title).endsWith(appended)) << title;
    EXPECT_EQ(EnsureApplication().Title(), "ヨナタマ - 銀蛇XX");
}

// A style that puts icons on dialog buttons, as some desktops do.
class IconButtonsStyle final : public QProxyStyle {
public:
    IconButtonsStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

struct IconButtonsScope {
    QString previous = QApplication::style()->name();
    IconButtonsScope() { QApplication::setStyle(new IconButtonsStyle); }
    ~IconButtonsScope() { QApplication::setStyle(previous); }
};

TEST(DesktopDialogs, MessageBoxHasPlainOkAndItsOwnCaption) {
    EnsureApplication();
    IconButtonsScope icons;
    const auto box = CreateMessageBox({"エラー", "Play数は、1以上にしてください。", true}, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("エラー"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->show();
    QCoreApplication::processEvents();
    const auto buttons = box->findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_TRUE(buttons.first()->icon().isNull());
    EXPECT_EQ(buttons.first()->text(), QStringLiteral("OK"));
    box->hide();
}

TEST(DesktopDialogs, LongMessageBreaksOnlyAfterClauses) {
    EnsureApplication();
    const QString text = QStringLiteral(
        "Play数が大きすぎて、記録をメモリに保持できません。Play数を減らしてください。");
    const auto box = CreateMessageBox({"エラー", text.toStdString(), true}, nullptr);
    box->show();
    QCoreApplication::processEvents();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    const QStringList lines = label->text().split(u'\n');
    EXPECT_EQ(lines.join(QString()), text);
    const QFontMetrics metrics(label->font());
    for (const QString& line : lines) {
        EXPECT_TRUE(line.endsWith(u'、') || line.endsWith(u'。')) << line.toStdString();
        // Narrow enough that the box does not break it again itself.
        EXPECT_LE(metrics.horizontalAdvance(line), label->contentsRect().width())
            << line.toStdString();
    }
    box->hide();
}

struct FileDialogCase {
    const char* Name;
    bool Save;
};

class DesktopFileDialog : public ::testing::TestWithParam<FileDialogCase> {};

TEST_P(DesktopFileDialog, StartsWithThePatternInJapanese) {
    EnsureApplication();
    IconButtonsScope icons;
    const auto dialog =
        CreateFileDialog({GetParam().Save, "*.sim", "シミュレーションファイル|*.sim"}, nullptr);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("*.sim"));
    EXPECT_TRUE(HasJapanese(dialog->windowTitle())) << dialog->windowTitle().toStdString();
    dialog->show();
    QCoreApplication::processEvents();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty()) {
            EXPECT_TRUE(HasJapanese(label->text())) << label->text().toStdString();
        }
    }
    int texts = 0;
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        ++texts;
        EXPECT_TRUE(HasJapanese(button->text())) << button->text().toStdString();
        EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
    }
    EXPECT_GE(texts, 2); // accept and cancel
    dialog->hide();
}

TEST_P(DesktopFileDialog, ShowsEveryColumnWhole) {
    EnsureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("一回目の記録.sim")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(12345, 'x'));
    file.close();
    const auto dialog =
        CreateFileDialog({GetParam().Save, "*.sim", "シミュレーションファイル|*.sim"}, nullptr);
    dialog->setDirectory(dir.path());
    dialog->show();
    auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(tree, nullptr);
    WaitFor([&] { return tree->model()->rowCount(tree->rootIndex()) > 0; });
    ASSERT_GT(tree->model()->rowCount(tree->rootIndex()), 0);
    QCoreApplication::processEvents();
    QHeaderView* header = tree->header();
    const int visibleWidth = tree->viewport()->width();
    ASSERT_GE(header->count(), 4);
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const QString caption = tree->model()->headerData(section, Qt::Horizontal).toString();
        EXPECT_TRUE(HasJapanese(caption)) << caption.toStdString();
        EXPECT_GE(header->sectionSize(section), header->sectionSizeHint(section))
            << caption.toStdString();
        EXPECT_LE(header->sectionViewportPosition(section) + header->sectionSize(section),
                  visibleWidth)
            << caption.toStdString();
        // The entry's text fits, with the icon in the name column.
        const QString entry = tree->model()->index(0, section, tree->rootIndex()).data().toString();
        EXPECT_GE(header->sectionSize(section),
                  tree->fontMetrics().horizontalAdvance(entry) + (section == 0 ? 24 : 6))
            << caption.toStdString() << " " << entry.toStdString();
    }
    dialog->hide();
}

TEST_P(DesktopFileDialog, TypesAndDatesAreJapaneseInEveryLocale) {
    EnsureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QFile file(dir.filePath(QStringLiteral("a.sim")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const auto dialog =
        CreateFileDialog({GetParam().Save, "*.sim", "ヨナタマ銀蛇ファイル|*.sim"}, nullptr);
    dialog->setDirectory(dir.path());
    dialog->show();
    auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(tree, nullptr);
    WaitFor([&] { return tree->model()->rowCount(tree->rootIndex()) >= 2; });
    ASSERT_EQ(tree->model()->rowCount(tree->rootIndex()), 2);
    for (int row = 0; row < 2; ++row) {
        const QString name = tree->model()->index(row, 0, tree->rootIndex()).data().toString();
        const QString type = tree->model()->index(row, 2, tree->rootIndex()).data().toString();
        const QString date = tree->model()->index(row, 3, tree->rootIndex()).data().toString();
        EXPECT_EQ(type, name == QStringLiteral("sub") ? QStringLiteral("ファイル フォルダー")
                                                      : QStringLiteral("ヨナタマ銀蛇ファイル"));
        EXPECT_EQ(date, QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd")) +
                            date.mid(10))
            << date.toStdString();
    }
    dialog->hide();
}

INSTANTIATE_TEST_SUITE_P(Kinds, DesktopFileDialog,
                         ::testing::Values(FileDialogCase{"Open", false},
                                           FileDialogCase{"Save", true}),
                         [](const ::testing::TestParamInfo<FileDialogCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace

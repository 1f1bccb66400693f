// The report list's keyboard and header: one Tab stop, Home/End to the first
// and last row, the header painted to the right edge.

#include "platform/TEdit.h"
#include "platform/TListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct KeyFixture {
    QWidget window;
    TEdit before{&window, 0, 0, 60, 20, "a"};
    TListView list{&window, 0, 24, 300, 16 * 10 + 24};
    TEdit after{&window, 0, 220, 60, 20, "b"};

    KeyFixture() {
        list.AddColumn("A", 70);
        list.AddColumn("B", 70);
        for (int i = 0; i < 50; ++i)
            list.AddItem(std::to_string(i), {"x" + std::to_string(i)});
        list.Flush();
        window.resize(320, 260);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        list.Widget()->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        View()->setCurrentIndex(View()->model()->index(5, 1));
    }

    QTableView* View() { return static_cast<QTableView*>(list.Widget()); }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    }
};

struct KeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    int Row; // current row afterwards, starting from row 5
};

class ReportViewKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ReportViewKeys, MoveTheSelectedRow) {
    const KeyCase& k = GetParam();
    KeyFixture f;
    ASSERT_EQ(QApplication::focusWidget(), f.list.Widget());
    f.Press(k.Key, k.Modifiers);
    EXPECT_EQ(QApplication::focusWidget(), f.list.Widget());
    EXPECT_EQ(f.View()->currentIndex().row(), k.Row);
    const auto selected = f.View()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), k.Row);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReportViewKeys,
    ::testing::Values(KeyCase{"Down", Qt::Key_Down, Qt::NoModifier, 6},
                      KeyCase{"Up", Qt::Key_Up, Qt::NoModifier, 4},
                      KeyCase{"Home", Qt::Key_Home, Qt::NoModifier, 0},
                      KeyCase{"End", Qt::Key_End, Qt::NoModifier, 49},
                      KeyCase{"CtrlHome", Qt::Key_Home, Qt::ControlModifier, 0},
                      KeyCase{"CtrlEnd", Qt::Key_End, Qt::ControlModifier, 49}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.Name); });

TEST(ReportViewChrome, PageKeysMoveByAPage) {
    KeyFixture f;
    f.Press(Qt::Key_PageDown);
    const int down = f.View()->currentIndex().row();
    EXPECT_GT(down, 5 + 3);
    f.Press(Qt::Key_PageUp);
    EXPECT_LT(f.View()->currentIndex().row(), down);
}

TEST(ReportViewChrome, TabAndShiftTabLeaveTheList) {
    KeyFixture f;
    f.Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.after.Widget());
    EXPECT_EQ(f.View()->currentIndex().row(), 5);
    f.list.Widget()->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    f.Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.before.Widget());
}

TEST(ReportViewChrome, HeaderIsPaintedToTheRightEdge) {
    QWidget window;
    TListView list(&window, 0, 0, 317, 173);
    for (const char* caption : {"PLAY数", "PLAY数2", "出目", "玉数"})
        list.AddColumn(caption, 70);
    window.resize(330, 190);
    window.show();
    QCoreApplication::processEvents();
    QHeaderView* header = static_cast<QTableView*>(list.Widget())->horizontalHeader();
    ASSERT_LT(header->length(), header->width()); // room right of the last column
    const QImage picture = header->grab().toImage();
    const int y = picture.height() / 2;
    // An empty stretch of a section (right of the first caption) and the
    // space past the last column look alike.
    const QRgb section = picture.pixel(header->sectionSize(0) - 4, y);
    for (int x = header->length() + 4; x < picture.width() - 4; ++x)
        EXPECT_EQ(picture.pixel(x, y), section) << x;
}

} // namespace

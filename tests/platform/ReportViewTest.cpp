// The report list: the same pixels and scroll ranges as the toolkit's table
// configured as a report, one Tab stop, the table's row keys and Home/End to
// the first and last row, the header painted to the right edge.

#include "platform/ReportView.h"
#include "platform/TEdit.h"
#include "platform/TListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void Settle() {
    QCoreApplication::processEvents();
}

QImage Rows(QAbstractScrollArea* view) {
    return view->viewport()->grab().toImage();
}

// Our list beside the table a report list was before, both with the same
// rows: a long text in a narrow column and more rows than fit.
struct Twins {
    QWidget window;
    QStandardItemModel model{60, 3};
    QTableView table{&window};
    TListView list{&window, 340, 0, 317, 173};

    Twins() {
        const char* captions[] = {"PLAY数", "出目", "玉数"};
        const int widths[] = {70, 80, 70};
        for (int c = 0; c < 3; ++c) {
            model.setHorizontalHeaderItem(c, new QStandardItem(captions[c]));
            list.AddColumn(captions[c], widths[c]);
        }
        table.setModel(&model);
        table.setShowGrid(false);
        table.setWordWrap(false);
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        table.setSelectionMode(QAbstractItemView::SingleSelection);
        table.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        table.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        table.verticalHeader()->hide();
        table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table.verticalHeader()->setMinimumSectionSize(1);
        table.verticalHeader()->setDefaultSectionSize(16);
        table.horizontalHeader()->setHighlightSections(false);
        table.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (int c = 0; c < 3; ++c)
            table.setColumnWidth(c, widths[c]);
        table.setGeometry(0, 0, 317, 173);
        list.SetOwnerData(true);
        list.OnData = [](TListItem& item) {
            item.Caption = std::to_string(item.Index + 1);
            item.SubItems = {item.Index % 7 == 0 ? "とても長い出目の説明文" : "3-4-5",
                             std::to_string(-item.Index * 13)};
        };
        for (int r = 0; r < 60; ++r) {
            TListItem item;
            item.Index = r;
            list.OnData(item);
            model.setItem(r, 0, new QStandardItem(QString::fromStdString(item.Caption)));
            for (int c = 1; c < 3; ++c)
                model.setItem(r, c,
                              new QStandardItem(QString::fromStdString(item.SubItems[c - 1])));
        }
        list.SetItemCount(60);
        list.Flush();
        window.resize(680, 200);
        window.show();
        QApplication::setActiveWindow(&window);
        Settle();
    }

    ReportView* Ours() { return static_cast<ReportView*>(list.Widget()); }

    void Select(int row, int column) {
        table.setCurrentIndex(model.index(row, column));
        Ours()->SetCurrent(row, column);
        Settle();
    }
};

TEST(ReportView, PaintsRowsAsTheTableDoes) {
    Twins t;
    struct Step {
        const char* name;
        std::function<void(Twins&)> apply;
        bool focusBoth; // compare each with the keyboard focus in it
    } steps[] = {
        {"no selection", [](Twins&) {}, false},
        {"a row selected", [](Twins& s) { s.Select(7, 1); }, false},
        {"the selected row focused", [](Twins& s) { s.Select(7, 1); }, true},
        {"scrolled both ways",
         [](Twins& s) {
             s.Select(8, 2);
             for (QAbstractScrollArea* v : {static_cast<QAbstractScrollArea*>(&s.table),
                                            static_cast<QAbstractScrollArea*>(s.Ours())}) {
                 v->verticalScrollBar()->setValue(5);
                 v->horizontalScrollBar()->setValue(25);
             }
         },
         true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.apply(t);
        Settle();
        for (QAbstractScrollArea* v : {static_cast<QAbstractScrollArea*>(&t.table),
                                       static_cast<QAbstractScrollArea*>(t.Ours())})
            EXPECT_EQ(v->verticalScrollBar()->value(), t.table.verticalScrollBar()->value());
        EXPECT_EQ(t.Ours()->verticalScrollBar()->maximum(), t.table.verticalScrollBar()->maximum());
        EXPECT_EQ(t.Ours()->horizontalScrollBar()->maximum(),
                  t.table.horizontalScrollBar()->maximum());
        EXPECT_EQ(t.Ours()->viewport()->geometry(), t.table.viewport()->geometry());
        QImage table, ours;
        if (s.focusBoth) {
            t.table.setFocus(Qt::OtherFocusReason);
            Settle();
            table = Rows(&t.table);
            t.Ours()->setFocus(Qt::OtherFocusReason);
            Settle();
            ours = Rows(t.Ours());
        } else {
            t.window.setFocus(Qt::OtherFocusReason);
            Settle();
            table = Rows(&t.table);
            ours = Rows(t.Ours());
        }
        ASSERT_EQ(table.size(), ours.size());
        int differing = 0;
        for (int y = 0; y < table.height(); ++y)
            for (int x = 0; x < table.width(); ++x)
                differing += table.pixel(x, y) != ours.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST(ReportView, ClickSelectsTheRowUnderThePointer) {
    Twins t;
    ReportView* view = t.Ours();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 16 * 3 + 5), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &press);
    EXPECT_EQ(t.list.ItemIndex(), 3);
    EXPECT_EQ(view->CurrentColumn(), 1);
    // Past the last row nothing changes.
    t.list.SetItemCount(2);
    t.list.Flush();
    EXPECT_EQ(t.list.ItemIndex(), -1);
    QCoreApplication::sendEvent(view->viewport(), &press);
    EXPECT_EQ(t.list.ItemIndex(), -1);
}

TEST(ReportView, ScrollBarFollowsTheRowsBeforeTheNextMessagePass) {
    Twins t;
    t.list.SetItemCount(3);
    t.list.Flush();
    EXPECT_FALSE(t.Ours()->verticalScrollBar()->isVisible());
    t.list.SetItemCount(100000);
    t.list.Flush(); // a picture may be taken now, as the companion's render does
    EXPECT_TRUE(t.Ours()->verticalScrollBar()->isVisible());
}

TEST(ReportView, ANewFontMovesTheRowsBelowTheTallerHeader) {
    Twins t;
    ReportView* view = t.Ours();
    const int before = view->Header()->height();
    QFont font = view->font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 2 : 26);
    view->setFont(font);
    Settle();
    EXPECT_GT(view->Header()->height(), before);
    EXPECT_EQ(view->viewport()->geometry().top(), view->Header()->geometry().bottom() + 1);
}

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
        Settle();
        static_cast<ReportView*>(list.Widget())->SetCurrent(5, 1);
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(target, &release);
        Settle();
    }
};

struct KeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    int Row;    // current row afterwards, starting from row 5
    int Column; // and column, starting from column 1
};

class ReportViewKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ReportViewKeys, MoveTheSelectedRow) {
    const KeyCase& k = GetParam();
    KeyFixture f;
    ASSERT_EQ(QApplication::focusWidget(), f.list.Widget());
    f.Press(k.Key, k.Modifiers);
    EXPECT_EQ(QApplication::focusWidget(), f.list.Widget());
    EXPECT_EQ(f.list.ItemIndex(), k.Row);
    EXPECT_EQ(static_cast<ReportView*>(f.list.Widget())->CurrentColumn(), k.Column);
    EXPECT_TRUE(f.list.IsRowVisible(k.Row));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ReportViewKeys,
    ::testing::Values(KeyCase{"Down", Qt::Key_Down, Qt::NoModifier, 6, 1},
                      KeyCase{"Up", Qt::Key_Up, Qt::NoModifier, 4, 1},
                      KeyCase{"Left", Qt::Key_Left, Qt::NoModifier, 5, 0},
                      KeyCase{"Right", Qt::Key_Right, Qt::NoModifier, 5, 1},
                      KeyCase{"Home", Qt::Key_Home, Qt::NoModifier, 0, 1},
                      KeyCase{"End", Qt::Key_End, Qt::NoModifier, 49, 1},
                      KeyCase{"CtrlHome", Qt::Key_Home, Qt::ControlModifier, 0, 0},
                      KeyCase{"CtrlEnd", Qt::Key_End, Qt::ControlModifier, 49, 1}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.Name); });

TEST(ReportView, PageKeysMoveByAPage) {
    KeyFixture f;
    f.Press(Qt::Key_PageDown);
    const int down = f.list.ItemIndex();
    EXPECT_GT(down, 5 + 3);
    EXPECT_TRUE(f.list.IsRowVisible(down));
    f.Press(Qt::Key_PageUp);
    EXPECT_LT(f.list.ItemIndex(), down);
}

TEST(ReportView, TabAndShiftTabLeaveTheList) {
    KeyFixture f;
    f.Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.after.Widget());
    EXPECT_EQ(f.list.ItemIndex(), 5);
    f.list.Widget()->setFocus(Qt::OtherFocusReason);
    Settle();
    f.Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.before.Widget());
}

TEST(ReportView, HeaderIsPaintedToTheRightEdge) {
    QWidget window;
    TListView list(&window, 0, 0, 317, 173);
    for (const char* caption : {"PLAY数", "PLAY数2", "出目", "玉数"})
        list.AddColumn(caption, 70);
    window.resize(330, 190);
    window.show();
    Settle();
    QHeaderView* header = static_cast<ReportView*>(list.Widget())->Header();
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

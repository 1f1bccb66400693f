// The main window's keyboard order, group-box frames, edit boxes and the
// About box panel, on the real window.

#include "WindowFixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

namespace {

class KeyboardTest : public WindowTest {
protected:
    void Activate(TControl& control) {
        form->Window()->activateWindow();
        QApplication::setActiveWindow(form->Window());
        control.Widget()->setFocus(Qt::TabFocusReason);
        Pump();
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(target, &release);
        Pump();
    }

    // The form's control holding the keyboard focus, by name.
    std::string Focused() {
        QWidget* w = QApplication::focusWidget();
        if (!w)
            return "(none)";
        const std::pair<const char*, TControl*> controls[] = {
            {"PlayNumEdit", form->PlayNumEdit.get()},
            {"SimNumEdit", form->SimNumEdit.get()},
            {"RateEdit", form->RateEdit.get()},
            {"BorderEdit", form->BorderEdit.get()},
            {"SpeedComboBox", form->SpeedComboBox.get()},
            {"StartButton", form->StartButton.get()},
            {"StopButton", form->StopButton.get()},
            {"CheckBox1", form->CheckBox1.get()},
            {"CheckBox2", form->CheckBox2.get()},
            {"ResultListView", form->ResultListView.get()},
            {"BBListView", form->BBListView.get()},
            {"KeizokuListView", form->KeizokuListView.get()},
            {"PageControl1", form->PageControl1.get()},
        };
        for (const auto& [name, control] : controls)
            if (control->Widget() == w || control->Widget()->isAncestorOf(w))
                return name;
        return w->metaObject()->className();
    }

    // The focus after each of `presses` Tabs, repeats of a stop collapsed.
    std::vector<std::string> TabStops(int presses) {
        std::vector<std::string> stops{Focused()};
        for (int i = 0; i < presses; ++i) {
            Press(Qt::Key_Tab);
            if (Focused() != stops.back())
                stops.push_back(Focused());
            else
                stops.push_back(Focused() + " again");
        }
        return stops;
    }
};

TEST_F(KeyboardTest, TabFromPlayNumReachesTheLowerInputsInTheFormsOrderAfterARun) {
    FastRun(300);
    ASSERT_GT(form->ResultListView->ItemCount(), 100);
    Activate(*form->PlayNumEdit);
    ASSERT_EQ(Focused(), "PlayNumEdit");
    const std::vector<std::string> expected = {
        "PlayNumEdit",  "CheckBox1",      "CheckBox2", "SimNumEdit",    "StartButton",
        "PageControl1", "ResultListView", "RateEdit",  "SpeedComboBox", "BorderEdit"};
    const std::vector<std::string> stops = TabStops(static_cast<int>(expected.size()) - 1);
    EXPECT_EQ(stops, expected);
}

struct PageCase {
    const char* Name;
    int Page;
    const char* List;
};

class KeyboardPageTest : public KeyboardTest, public ::testing::WithParamInterface<PageCase> {};

// Each list is one stop: Tab and Shift+Tab leave it at once.
TEST_P(KeyboardPageTest, ListIsOneTabStop) {
    const PageCase& c = GetParam();
    // The name of a parameterised test holds "/": its folder must still be
    // one level, which TearDown removes whole.
    EXPECT_EQ(dir.parent_path(), std::filesystem::temp_directory_path());
    FastRun(2000);
    form->PageControl1->SetActivePageIndex(c.Page);
    Pump();
    Activate(*form->StartButton);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "PageControl1");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), c.List);
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), c.List);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "RateEdit");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), c.List);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), "PageControl1");
}

INSTANTIATE_TEST_SUITE_P(Pages, KeyboardPageTest,
                         ::testing::Values(PageCase{"PlayList", 0, "ResultListView"},
                                           PageCase{"BonusList", 1, "BBListView"},
                                           PageCase{"ChainList", 2, "KeizokuListView"}),
                         [](const ::testing::TestParamInfo<PageCase>& info) {
                             return std::string(info.param.Name);
                         });

// The row of the frame's top edge, looked for right of the caption.
int FrameTop(QWidget* box) {
    QImage picture(box->size(), QImage::Format_RGB32);
    picture.fill(box->palette().color(QPalette::Window));
    box->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QRgb face = box->palette().color(QPalette::Window).rgb();
    const int x = box->width() - 10;
    for (int y = 0; y < picture.height(); ++y)
        if (picture.pixel(x, y) != face)
            return y;
    return -1;
}

struct GroupCase {
    const char* Name;
    int Box;         // 1 or 2
    int ContentsTop; // the highest control placed inside
};

class GroupBoxFrameTest : public WindowTest, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(GroupBoxFrameTest, TopEdgeRunsThroughTheCaptionAboveTheContents) {
    const GroupCase& c = GetParam();
    TGroupBox& box = c.Box == 1 ? *form->GroupBox1 : *form->GroupBox2;
    const int top = FrameTop(box.Widget());
    ASSERT_GE(top, 0);
    EXPECT_LT(top, c.ContentsTop);
    const int captionHeight = QFontMetrics(box.Widget()->font()).height();
    EXPECT_EQ(top, captionHeight / 2);
}

INSTANTIATE_TEST_SUITE_P(Boxes, GroupBoxFrameTest,
                         ::testing::Values(GroupCase{"ChanceMarkers", 1, 8},
                                           GroupCase{"Summary", 2, 12}),
                         [](const ::testing::TestParamInfo<GroupCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(WindowTest, GroupBoxesAreDrawnWithTheirContentsInside) {
    for (TControl* child : {static_cast<TControl*>(form->CheckBox1.get()),
                            static_cast<TControl*>(form->CheckBox2.get())}) {
        EXPECT_GT(child->Top(), FrameTop(form->GroupBox1->Widget()));
        EXPECT_LE(child->Top() + child->Height(), form->GroupBox1->Height() - 2);
    }
    EXPECT_GT(form->ResultLabel->Top(), FrameTop(form->GroupBox2->Widget()));
    form->GroupBox1->Widget()->grab().save(QString::fromStdString(OutDir() + "/groupbox1.png"));
    form->GroupBox2->Widget()->grab().save(QString::fromStdString(OutDir() + "/groupbox2.png"));
}

int CaretX(const QLineEdit& line) {
    return line.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

TEST_F(WindowTest, EditBoxesShowTheirDefaultTextsWhole) {
    const std::pair<const char*, TEdit*> edits[] = {{"PlayNumEdit", form->PlayNumEdit.get()},
                                                    {"SimNumEdit", form->SimNumEdit.get()},
                                                    {"RateEdit", form->RateEdit.get()},
                                                    {"BorderEdit", form->BorderEdit.get()}};
    for (const auto& [name, edit] : edits) {
        auto* line = static_cast<QLineEdit*>(edit->Widget());
        const QString text = line->text();
        // With the caret at the end, as after typing, the start of the text
        // must not have scrolled out of view.
        line->setCursorPosition(static_cast<int>(text.size()));
        const int end = CaretX(*line);
        line->setCursorPosition(0);
        const int start = CaretX(*line);
        EXPECT_EQ(end - start, line->fontMetrics().horizontalAdvance(text))
            << name << " \"" << text.toStdString() << "\"";
        line->setCursorPosition(static_cast<int>(text.size()));
        EXPECT_EQ(CaretX(*line), end) << name;
    }
}

TEST_F(WindowTest, DialogTitlesCarryOnlyTheirOwnText) {
    EXPECT_EQ(about->Caption(), "バージョン情報");
    // The window system adds the display name to a title not ending in it.
    const QString appended = QGuiApplication::applicationDisplayName();
    for (const std::string& title : {about->Caption(), std::string("エラー"), form->Caption()})
        EXPECT_TRUE(QString::fromStdString(title).endsWith(appended)) << title;
}

TEST_F(WindowTest, AboutPanelIsBevelledOverItsWholeBox) {
    EXPECT_EQ(about->Panel1->Left(), 8);
    EXPECT_EQ(about->Panel1->Top(), 8);
    EXPECT_EQ(about->Panel1->Width(), 281);
    EXPECT_EQ(about->Panel1->Height(), 161);
    const QImage panel = about->Panel1->Widget()->grab().toImage();
    ASSERT_EQ(panel.size(), QSize(281, 161));
    const QRgb face = about->Window()->palette().color(QPalette::Window).rgb();
    const int r = 280, b = 160;
    // Outer bevel lowered: dark above and left, light below and right; the
    // inner one raised: light above and left, dark below and right.
    auto darker = [&](int x, int y) { return qGray(panel.pixel(x, y)) < qGray(face); };
    auto lighter = [&](int x, int y) { return qGray(panel.pixel(x, y)) > qGray(face); };
    EXPECT_TRUE(darker(140, 0) && darker(0, 80));
    EXPECT_TRUE(lighter(140, b) && lighter(r, 80));
    EXPECT_TRUE(lighter(140, 1) && lighter(1, 80));
    EXPECT_TRUE(darker(140, b - 1) && darker(r - 1, 80));
    EXPECT_EQ(panel.pixel(140, 2), face);
}

} // namespace

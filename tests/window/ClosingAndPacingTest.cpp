// The analysis dialog goes with the main window and with Esc, its study
// stopped; a slow run keeps answering while it waits between plays.

#include "WindowFixture.h"

#include "app/TheoryDialog.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace {

TTheoryDialog& StartLongStudy(TMainForm& form) {
    form.PlayNumEdit->SetText("10000000");
    form.AnalysisTheoryMenu->Click();
    QCoreApplication::processEvents();
    TTheoryDialog& d = *form.TheoryDialog;
    d.RunsEdit->SetText("10");
    d.StudyStartButton->Click();
    return d;
}

} // namespace

TEST_F(WindowTest, EscCancelsTheStudyLikeClose) {
    TTheoryDialog& d = StartLongStudy(*form);
    ASSERT_TRUE(d.StudyRunning());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(d.Window(), &press);
    Pump();
    EXPECT_FALSE(d.Visible());
    EXPECT_FALSE(d.StudyRunning());
    EXPECT_EQ(d.StudyStatusLabel->Caption(), StudyCancelledText);
    EXPECT_TRUE(d.StudyStartButton->Enabled());
}

TEST_F(WindowTest, ClosingTheMainWindowClosesTheDialogStopsItsStudyAndEndsTheLoop) {
    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "終了" : "close");
        if (!form->Visible())
            form->Show();
        TTheoryDialog& d = StartLongStudy(*form);
        ASSERT_TRUE(d.StudyRunning());
        ASSERT_TRUE(d.Visible());
        QTimer::singleShot(0, [&] {
            if (byMenu)
                form->FileExitMenu->Click();
            else
                form->Close();
        });
        // A loop still running after a minute has not ended.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        watchdog.start(60000);
        EXPECT_EQ(Application->Run(), 0);
        EXPECT_FALSE(form->Visible());
        EXPECT_FALSE(d.Visible());
        EXPECT_FALSE(d.StudyRunning());
    }
}

TEST_F(WindowTest, ASlowRunAnswersWhileItWaitsAndAStopEndsTheWait) {
    form->SlowWait = [this](int ms) { form->PaceSlowRun(ms); };
    SetInputs("3", "1", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(1);
    // Something that happens during the first wait: the first play is
    // recorded but not yet shown. A blocking wait only lets it through after
    // the play's display.
    int listedWhenAnswered = -1;
    std::function<void()> probe = [&] {
        if (form->Records.Size() == 1) {
            listedWhenAnswered = form->ResultListView->ItemCount();
            form->PageControl1->SetActivePageIndex(2);
            form->StopButton->Click();
            return;
        }
        if (form->RunActive())
            QTimer::singleShot(0, probe);
    };
    QTimer::singleShot(0, probe);
    form->StartButton->Click();
    EXPECT_EQ(listedWhenAnswered, 0);
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 2);
    // Stopped during the first wait: that play is shown, no further one made.
    EXPECT_EQ(form->Records.Size(), 1u);
    EXPECT_EQ(form->ResultListView->ItemCount(), 1);
    EXPECT_EQ(Status(), "シミュレーション完了");
}

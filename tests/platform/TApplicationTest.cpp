// The application object's exception display and the platform's small
// helpers: error box, fonts, progress clamping.

#include "platform/TApplication.h"
#include "platform/DialogSeam.h"
#include "platform/FontNames.h"
#include "platform/MessageDialog.h"
#include "platform/TFileDialog.h"
#include "platform/TProgressBar.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

class RecordingSeam : public TDialogSeam {
public:
    void ShowMessage(const TMessageRequest& r) override { messages.push_back(r); }
    std::optional<std::string> AskFileName(const TFileDialogRequest& r) override {
        asked.push_back(r);
        return answer;
    }
    void ShellExecute(const TShellRequest&) override {}
    std::vector<TMessageRequest> messages;
    std::vector<TFileDialogRequest> asked;
    std::optional<std::string> answer;
};

struct SeamScope {
    RecordingSeam seam;
    SeamScope() { SetDialogSeam(&seam); }
    ~SeamScope() { SetDialogSeam(nullptr); }
};

TApplication& App() {
    static int argc = 1;
    static char name[] = "tests_platform";
    static char* argv[] = {name, nullptr};
    static TApplication app(argc, argv);
    return app;
}

} // namespace

TEST(TApplicationTest, ShowsWhatEscapesAHandlerInTheErrorBox) {
    SeamScope scope;
    TApplication& app = App();
    app.SetTitle("題名");
    app.Guarded([] { throw std::runtime_error("壊れました"); });
    app.Guarded([] { throw 42; });
    app.Guarded([] {});
    ASSERT_EQ(scope.seam.messages.size(), 2u);
    EXPECT_EQ(scope.seam.messages[0].Text, "壊れました");
    EXPECT_EQ(scope.seam.messages[0].Caption, "題名");
    EXPECT_TRUE(scope.seam.messages[0].ErrorIcon);
    EXPECT_EQ(scope.seam.messages[1].Text, "");
}

TEST(TApplicationTest, ErrorMessageBoxHasTheErrorCaption) {
    SeamScope scope;
    ShowErrorMessage("だめです");
    ASSERT_EQ(scope.seam.messages.size(), 1u);
    EXPECT_EQ(scope.seam.messages[0].Caption, "エラー");
    EXPECT_EQ(scope.seam.messages[0].Text, "だめです");
}

TEST(TApplicationTest, FileDialogRemembersOnlyAnAcceptedName) {
    SeamScope scope;
    TFileDialog dialog(TFileDialog::Kind::Save, "*.sim", "説明|*.sim");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "*.sim");
    scope.seam.answer = "/tmp/x.sim";
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/tmp/x.sim");
    scope.seam.answer.reset();
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/tmp/x.sim");
    ASSERT_EQ(scope.seam.asked.size(), 3u);
    EXPECT_TRUE(scope.seam.asked[0].Save);
    EXPECT_EQ(scope.seam.asked[2].FileName, "/tmp/x.sim");
}

TEST(FontNamesTest, MapsTheFormFontsToTheInstalledJapaneseFonts) {
    const std::pair<std::string, std::string> cases[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"MS UI Gothic", "IPAPGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"Courier", "Courier"},
    };
    for (const auto& [from, to] : cases)
        EXPECT_EQ(MappedFontFamily(from), to) << from;
}

TEST(TProgressBarTest, PinsPositionsToItsRange) {
    QWidget parent;
    TProgressBar bar(&parent, 0, 0, 100, 10);
    const std::pair<int, int> cases[] = {{50, 50}, {150, 100}, {-5, 0}, {100, 100}, {0, 0}};
    for (const auto& [set, shown] : cases) {
        bar.SetPosition(set);
        EXPECT_EQ(bar.Position(), shown) << set;
    }
}

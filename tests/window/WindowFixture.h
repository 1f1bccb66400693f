#pragma once
// Shared set-up of the whole-window tests: a real TMainForm and TAboutBox on
// the offscreen platform, with every dialog and shell request answered and
// recorded by a scripted seam.

#include "app/AboutBox.h"
#include "app/Unit1.h"
#include "engine/RandomSource.h"
#include "platform/DialogSeam.h"
#include "platform/TApplication.h"

#include <QCoreApplication>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ScriptedSeam : public TDialogSeam {
public:
    void ShowMessage(const TMessageRequest& request) override { messages.push_back(request); }

    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    void ShellExecute(const TShellRequest& request) override { shellRequests.push_back(request); }

    std::vector<TMessageRequest> messages;
    std::vector<TFileDialogRequest> fileRequests;
    std::deque<std::optional<std::string>> fileAnswers; // nullopt = Cancel
    std::vector<TShellRequest> shellRequests;
};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Application) {
            static int argc = 1;
            static char name[] = "tests_window";
            static char* argv[] = {name, nullptr};
            static TApplication app(argc, argv);
            app.SetTitle(MainCaption);
        }
    }

    void SetUp() override {
        SetDialogSeam(&seam);
        form = std::make_unique<TMainForm>();
        about = std::make_unique<TAboutBox>();
        AboutBox = about.get();
        form->SlowWait = [this](int ms) {
            waits.push_back(ms);
            if (onWait)
                onWait(static_cast<int>(waits.size()));
        };
        form->Show();
        Pump();
        // A fresh folder of one level: a parameterised test's name holds "/",
        // which would make nested folders that removing the inner one leaves.
        std::string pattern =
            (std::filesystem::temp_directory_path() / "yonatama-window-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }

    void TearDown() override {
        AboutBox = nullptr;
        about.reset();
        form.reset();
        SetDialogSeam(nullptr);
        std::error_code ignored;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(dir, ignored);
    }

    static void Pump() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    void SetInputs(const std::string& plays, const std::string& runs, const std::string& rate,
                   const std::string& border) {
        form->PlayNumEdit->SetText(plays);
        form->SimNumEdit->SetText(runs);
        form->RateEdit->SetText(rate);
        form->BorderEdit->SetText(border);
    }

    // A fast single run from a fixed seed.
    void FastRun(int plays, std::uint32_t seed = 1) {
        form->Machine.Random().Seed(seed);
        SetInputs(std::to_string(plays), "1", "4.0", "12.5");
        form->SpeedComboBox->SetItemIndex(0);
        form->StartButton->Click();
        Pump();
    }

    std::string Status() { return form->StatusBar1->Panel(0).Text(); }
    std::string Row(TListView& list, int row) {
        std::string text;
        for (int c = 0; c < list.ColumnCount(); ++c)
            text += (c ? "|" : "") + list.ItemText(row, c);
        return text;
    }

    static std::string OutDir() {
        std::filesystem::create_directories(YONATAMA_TEST_OUT);
        return YONATAMA_TEST_OUT;
    }

    ScriptedSeam seam;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TAboutBox> about;
    std::vector<int> waits;
    std::function<void(int)> onWait;
    std::filesystem::path dir;
};

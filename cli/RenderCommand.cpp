#include "cli/RenderCommand.h"

#include "app/AboutBox.h"
#include "app/Unit1.h"
#include "chart/Chart.h"
#include "cli/CliSystem.h"
#include "platform/DialogSeam.h"
#include "platform/PictureFiles.h"
#include "platform/TApplication.h"
#include "runfile/RunFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

// Answers the open dialog with the file to show and keeps every message the
// window would have shown, so that they reach stderr instead of a dialog.
class RenderSeam : public TDialogSeam {
public:
    explicit RenderSeam(std::string file) : File_(std::move(file)) {}
    void ShowMessage(const TMessageRequest& request) override { messages.push_back(request.Text); }
    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        if (request.Save || File_.empty())
            return std::nullopt;
        return File_;
    }
    void ShellExecute(const TShellRequest&) override {}

    std::vector<std::string> messages;

private:
    std::string File_;
};

// The window needs a platform; without a display the offscreen one draws the
// same pixels.
void ChooseHeadlessPlatform() {
    const bool hasDisplay =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!hasDisplay && std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// The application object of this command, unless one is running already;
// it outlives the window built after it.
std::unique_ptr<TApplication> MakeApplication() {
    if (Application != nullptr)
        return nullptr;
    ChooseHeadlessPlatform();
    static int argc = 1;
    static char name[] = "yonatama-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<TApplication>(argc, argv);
    app->SetTitle(MainCaption);
    return app;
}

// Restores the globals the window relies on, whatever way the command ends.
struct WindowGlobals {
    explicit WindowGlobals(RenderSeam* seam) { SetDialogSeam(seam); }
    ~WindowGlobals() {
        AboutBox = nullptr;
        SetDialogSeam(nullptr);
    }
    WindowGlobals(const WindowGlobals&) = delete;
    WindowGlobals& operator=(const WindowGlobals&) = delete;
};

// What Open shows once it has read a file; it ends silently when the file
// cannot be opened, which the companion reports itself.
constexpr const char* LoadedText = "シミュレーションファイルの読み込み完了";

// Opens the file, or makes the fast run, through the window's own commands.
// The exit code when the window refused it (its messages go to err).
std::optional<int> ShowRun(TMainForm& form, const RenderOptions& o, const RenderSeam& seam,
                           std::ostream& err) {
    TApplication& app = *Application;
    if (o.Markers) {
        form.CheckBox1->Click();
        form.CheckBox2->Click();
    }
    int refusedCode = CliFileError;
    if (!o.File.empty()) {
        app.Guarded([&] { form.FileOpenMenuClick(); });
    } else {
        form.PlayNumEdit->SetText(*o.Plays);
        form.SimNumEdit->SetText("1");
        form.RateEdit->SetText(o.Rate);
        form.BorderEdit->SetText(o.Border);
        form.SpeedComboBox->SetItemIndex(0);
        app.Guarded([&] { form.StartButtonClick(); });
        refusedCode = CliInputError;
    }
    if (!seam.messages.empty()) {
        for (const std::string& m : seam.messages) {
            err << m << "\n";
            // Memory that ran out mid-run ends `run` the same way.
            if (m == OutOfMemoryText)
                refusedCode = CliFileError;
        }
        return refusedCode;
    }
    if (!o.File.empty() && form.StatusBar1->Panel(0).Text() != LoadedText) {
        err << "ファイルを開けません: " << o.File << "\n";
        return CliFileError;
    }
    app.ProcessMessages();
    return std::nullopt;
}

// The window and its three charts as PNGs in the folder. The names are kept
// as the bytes they were given; each picture is written whole beside its
// name and then renamed, and a failure leaves no picture cut short and no
// folder this call made empty.
int WritePictures(TMainForm& form, const std::string& folder, std::ostream& out,
                  std::ostream& err) {
    const std::string dir = folder.back() == '/' ? folder : folder + "/";
    const std::pair<const char*, std::string> pictures[] = {
        {"window.png", WindowPng(form)},
        {"SlumpChart.png", ControlPng(form.SlumpChart->Host())},
        {"SlumpChart2.png", ControlPng(form.SlumpChart2->Host())},
        {"KeizokuChart.png", ControlPng(form.KeizokuChart->Host())},
    };
    for (const auto& [name, png] : pictures) {
        const std::string path = dir + name;
        if (png.empty() || SystemSaver().SaveBytes(path, png) != WriteStatus::Ok) {
            out.flush();
            err << "書き込めません: " << path << "\n";
            return CliFileError;
        }
        out << path << "\n";
    }
    out.flush();
    if (!out) {
        err << "標準出力に書き込めません。\n";
        return CliFileError;
    }
    return CliOk;
}

int ShowAndWrite(const RenderOptions& o, std::ostream& out, std::ostream& err);

} // namespace

int RenderCommand(const CliArgs& args, std::ostream& out, std::ostream& err) {
    RenderOptions o;
    if (const std::optional<int> done = ParseRenderLine(args, o, out, err))
        return *done;
    // Made before the window starts (what cannot be made is found at once) and
    // removed again, when still empty, whatever way the command fails.
    std::vector<std::string> created;
    if (!MakeOutputFolder(o.Out, created)) {
        err << "出力フォルダを作れません: " << o.Out << "（" << SystemErrorText(errno) << "）\n";
        RemoveEmptyFolders(created);
        return CliFileError;
    }
    const int code = ShowAndWrite(o, out, err);
    if (code != CliOk)
        RemoveEmptyFolders(created);
    return code;
}

namespace {

int ShowAndWrite(const RenderOptions& o, std::ostream& out, std::ostream& err) {

    const std::unique_ptr<TApplication> ownApp = MakeApplication();
    RenderSeam seam(o.File);
    WindowGlobals globals(&seam);
    auto form = std::make_unique<TMainForm>();
    auto about = std::make_unique<TAboutBox>();
    AboutBox = about.get();
    form->Show();
    Application->ProcessMessages();
    if (o.Seed)
        form->Machine.Random().Seed(*o.Seed);
    if (const std::optional<int> refused = ShowRun(*form, o, seam, err))
        return *refused;
    return WritePictures(*form, o.Out, out, err);
}

} // namespace

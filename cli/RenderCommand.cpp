#include "cli/RenderCommand.h"

#include "app/AboutBox.h"
#include "app/Unit1.h"
#include "chart/Chart.h"
#include "engine/RandomSource.h"
#include "platform/DialogSeam.h"
#include "platform/TApplication.h"

#include <algorithm>
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

struct RenderOptions {
    std::string File;
    std::optional<std::string> Plays;
    std::optional<std::uint32_t> Seed;
    std::string Rate = "4.0";
    std::string Border = "12.5";
    bool Markers = false;
    std::string Out;
};

// Returns a message for a malformed command line.
std::string ParseRenderArgs(const CliArgs& args, RenderOptions& o) {
    ParsedOptions parsed;
    const std::string malformed = ParseOptions(
        args, {"--plays", "--seed", "--border", "--rate", "--out"}, {"--markers"}, parsed);
    if (!malformed.empty())
        return malformed;
    std::map<std::string, std::string>& values = parsed.values;
    const std::vector<std::string>& positional = parsed.positional;
    o.Markers = parsed.flags.count("--markers") != 0;
    if (values.count("--out") == 0 || values["--out"].empty())
        return "--out を指定してください。";
    o.Out = values["--out"];
    if (values.count("--plays") != 0)
        o.Plays = values["--plays"];
    if (positional.size() > 1)
        return "余分な引数です: " + positional[1];
    if (positional.size() == 1) {
        if (o.Plays)
            return "ファイルと --plays は同時に指定できません。";
        if (values.count("--seed") || values.count("--rate") || values.count("--border"))
            return "--seed、--rate、--border は --plays と共に指定してください。";
        o.File = positional.front();
    } else if (!o.Plays) {
        return "ファイルか --plays を指定してください。";
    }
    if (values.count("--seed") != 0) {
        o.Seed = ParseSeed(values["--seed"]);
        if (!o.Seed)
            return SeedRefusal;
    }
    o.Rate = parsed.Value("--rate", o.Rate);
    o.Border = parsed.Value("--border", o.Border);
    return {};
}

// Answers the open dialog with the file to show and keeps every message the
// window would have shown, so that they reach stderr instead of a dialog.
class RenderSeam : public TDialogSeam {
public:
    explicit RenderSeam(std::string file) : file_(std::move(file)) {}
    void ShowMessage(const TMessageRequest& request) override { messages.push_back(request.Text); }
    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        if (request.Save || file_.empty())
            return std::nullopt;
        return file_;
    }
    void ShellExecute(const TShellRequest&) override {}

    std::vector<std::string> messages;

private:
    std::string file_;
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

// Open ends silently on a file it cannot open; the companion says so.
bool CanOpen(const std::string& file, std::ostream& err) {
    std::FILE* probe = std::fopen(file.c_str(), "rb");
    if (probe == nullptr) {
        err << "ファイルを開けません: " << file << "\n";
        return false;
    }
    std::fclose(probe);
    return true;
}

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
        for (const std::string& m : seam.messages)
            err << m << "\n";
        return refusedCode;
    }
    app.ProcessMessages();
    return std::nullopt;
}

// The window and its three charts as PNGs in the folder, made only now so
// that a refused command leaves nothing behind.
int WritePictures(TMainForm& form, const std::string& folder, std::ostream& out,
                  std::ostream& err) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) {
        err << "出力フォルダを作れません: " << folder << "\n";
        return CliFileError;
    }
    const std::filesystem::path dir(folder);
    const std::string windowPng = (dir / "window.png").string();
    if (!form.RenderToPng(windowPng)) {
        err << "書き込めません: " << windowPng << "\n";
        return CliFileError;
    }
    out << windowPng << "\n";
    const std::pair<const char*, TChart*> charts[] = {
        {"SlumpChart.png", form.SlumpChart.get()},
        {"SlumpChart2.png", form.SlumpChart2.get()},
        {"KeizokuChart.png", form.KeizokuChart.get()},
    };
    for (const auto& [name, chart] : charts) {
        const std::string path = (dir / name).string();
        if (chart == nullptr || !chart->PaintToImage(path)) {
            err << "書き込めません: " << path << "\n";
            return CliFileError;
        }
        out << path << "\n";
    }
    out.flush();
    return out ? CliOk : CliFileError;
}

} // namespace

int RenderCommand(const CliArgs& args, std::ostream& out, std::ostream& err) {
    RenderOptions o;
    const std::string problem = ParseRenderArgs(args, o);
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    if (!o.File.empty() && !CanOpen(o.File, err))
        return CliFileError;

    const std::unique_ptr<TApplication> ownApp = MakeApplication();
    RenderSeam seam(o.File);
    WindowGlobals globals(&seam);
    auto form = std::make_unique<TMainForm>();
    auto about = std::make_unique<TAboutBox>();
    AboutBox = about.get();
    form->Show();
    Application->ProcessMessages();
    if (o.Seed)
        ProcessRandom().Seed(*o.Seed);
    if (const std::optional<int> refused = ShowRun(*form, o, seam, err))
        return *refused;
    return WritePictures(*form, o.Out, out, err);
}

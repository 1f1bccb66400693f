#include "cli/RenderCommand.h"

#include "app/AboutBox.h"
#include "app/Unit1.h"
#include "chart/Chart.h"
#include "engine/RandomSource.h"
#include "platform/DialogSeam.h"
#include "platform/TApplication.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
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

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const unsigned long long v = std::stoull(text);
    if (v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

// Returns a message for a malformed command line.
std::string ParseRenderArgs(const CliArgs& args, RenderOptions& o) {
    const std::set<std::string> valueOptions = {"--plays", "--seed", "--border", "--rate", "--out"};
    std::map<std::string, std::string> values;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            positional.push_back(a);
            continue;
        }
        const std::size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        if (valueOptions.count(name) != 0) {
            if (eq != std::string::npos)
                values[name] = a.substr(eq + 1);
            else if (i + 1 < args.size())
                values[name] = args[++i];
            else
                return name + " に値がありません。";
        } else if (name == "--markers" && eq == std::string::npos) {
            o.Markers = true;
        } else {
            return "不明なオプションです: " + a;
        }
    }
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
            return "--seed は、0から4294967295の整数にしてください。";
    }
    if (values.count("--rate") != 0)
        o.Rate = values["--rate"];
    if (values.count("--border") != 0)
        o.Border = values["--border"];
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
        MainForm = nullptr;
        SetDialogSeam(nullptr);
    }
    WindowGlobals(const WindowGlobals&) = delete;
    WindowGlobals& operator=(const WindowGlobals&) = delete;
};

void ReportMessages(const RenderSeam& seam, std::ostream& err) {
    for (const std::string& m : seam.messages)
        err << m << "\n";
}

} // namespace

int RenderCommand(const CliArgs& args, std::ostream& out, std::ostream& err) {
    RenderOptions o;
    const std::string problem = ParseRenderArgs(args, o);
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    if (!o.File.empty()) {
        // Open ends silently on a file it cannot open; the companion says so.
        std::FILE* probe = std::fopen(o.File.c_str(), "rb");
        if (probe == nullptr) {
            err << "ファイルを開けません: " << o.File << "\n";
            return CliFileError;
        }
        std::fclose(probe);
    }

    const std::unique_ptr<TApplication> ownApp = MakeApplication();
    TApplication& app = *Application;
    RenderSeam seam(o.File);
    WindowGlobals globals(&seam);
    auto form = std::make_unique<TMainForm>();
    MainForm = form.get();
    auto about = std::make_unique<TAboutBox>();
    AboutBox = about.get();
    form->Show();
    app.ProcessMessages();
    if (o.Seed)
        ProcessRandom().Seed(*o.Seed);

    if (o.Markers) {
        form->CheckBox1->Click();
        form->CheckBox2->Click();
    }
    if (!o.File.empty()) {
        app.Guarded([&] { form->FileOpenMenuClick(); });
        if (!seam.messages.empty()) {
            ReportMessages(seam, err);
            return CliFileError;
        }
    } else {
        form->PlayNumEdit->SetText(*o.Plays);
        form->SimNumEdit->SetText("1");
        form->RateEdit->SetText(o.Rate);
        form->BorderEdit->SetText(o.Border);
        form->SpeedComboBox->SetItemIndex(0);
        app.Guarded([&] { form->StartButtonClick(); });
        if (!seam.messages.empty()) {
            ReportMessages(seam, err);
            return CliInputError;
        }
    }
    app.ProcessMessages();

    // Made only now, so that a refused command leaves nothing behind.
    std::error_code ec;
    std::filesystem::create_directories(o.Out, ec);
    if (!std::filesystem::is_directory(o.Out)) {
        err << "出力フォルダを作れません: " << o.Out << "\n";
        return CliFileError;
    }
    const std::filesystem::path dir(o.Out);
    const std::string windowPng = (dir / "window.png").string();
    const QPixmap shot = form->Window()->grab();
    if (shot.isNull() || !shot.save(QString::fromStdString(windowPng), "PNG")) {
        err << "書き込めません: " << windowPng << "\n";
        return CliFileError;
    }
    out << windowPng << "\n";
    const std::pair<const char*, TChart*> charts[] = {
        {"SlumpChart.png", form->SlumpChart.get()},
        {"SlumpChart2.png", form->SlumpChart2.get()},
        {"KeizokuChart.png", form->KeizokuChart.get()},
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

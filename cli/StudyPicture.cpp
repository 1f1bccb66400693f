#include "cli/StudyPicture.h"

#include "app/StudyChart.h"
#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "cli/ExitCodes.h"
#include "filesave/FileSaver.h"
#include "platform/PictureFiles.h"
#include "platform/TApplication.h"
#include "runs/Study.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

namespace {

// Drawing needs the application object; without a display the offscreen
// platform gives the same pixels.
std::unique_ptr<TApplication> MakePictureApplication() {
    if (Application != nullptr)
        return nullptr;
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "yonatama-render";
    static char* argv[] = {name, nullptr};
    return std::make_unique<TApplication>(argc, argv);
}

} // namespace

int StudyPictureCommand(const std::vector<std::string>& args, std::ostream& /*out*/,
                        std::ostream& err) {
    if (args.size() != 2) {
        err << "使い方: " << StudyPictureCommandName << " FIGURES.json OUT.png\n";
        return CliInputError;
    }
    std::ifstream in(args[0], std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto figures = in ? StudyFromJson(text.str()) : std::nullopt;
    if (!figures) {
        err << "研究の結果を読めません: " << args[0] << "\n";
        return CliFileError;
    }
    const std::unique_ptr<TApplication> ownApp = MakePictureApplication();
    TChart chart(nullptr);
    chart.SetBounds(0, 0, StudyPictureWidth, StudyPictureHeight);
    ShowStudyChart(chart, *figures);
    chart.Canvas().SetUseBuffer(false);
    const std::string png =
        DrawnPng(StudyPictureWidth, StudyPictureHeight,
                 [&](DrawContext& image) { chart.Draw(image, chart.GetClientRect()); });
    if (png.empty() || SystemSaver().SaveBytes(args[1], png) != WriteStatus::Ok) {
        err << "画像を書けません: " << args[1] << "\n";
        return CliFileError;
    }
    return CliOk;
}

// The companion's `render` command: the real window off screen, written as
// PNGs of the whole window and of each chart at its control's size.

#include "WindowFixture.h"
#include "chart/Chart.h"
#include "common/PngFile.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

const std::string Cli = std::string(YONATAMA_BIN_DIR) + "/yonatama-cli";

int RunCli(const std::string& args, const std::filesystem::path& errFile) {
    const std::string command = Cli + " " + args + " > /dev/null 2> '" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return {};
    std::string text;
    char buffer[512];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

// Pixels in a region that are mostly red (the slump line, the bars, the
// first pie slice) or pure black (the loss markers).
int CountPixels(const QImage& image, const QRect& region, bool (*test)(QColor)) {
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool Red(QColor c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool Black(QColor c) {
    return c.red() < 30 && c.green() < 30 && c.blue() < 30;
}

} // namespace

class ChartFeedingRenderTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!std::filesystem::exists(Cli))
            GTEST_SKIP() << "yonatama-cli is not built in " << YONATAMA_BIN_DIR;
    }
};

TEST_F(ChartFeedingRenderTest, AFreshRunWritesTheWindowAndEachChartAtItsSize) {
    const auto out = dir / "run";
    ASSERT_EQ(RunCli("render --plays 3000 --seed 5 --markers --out '" + out.string() + "'",
                     dir / "err.txt"),
              0)
        << ReadText(dir / "err.txt");
    const QImage window(QString::fromStdString((out / "window.png").string()));
    ASSERT_FALSE(window.isNull());
    EXPECT_GE(window.width(), 608);
    EXPECT_GE(window.height(), 699);
    const struct {
        const char* name;
        int width, height;
    } charts[] = {{"SlumpChart.png", 597, 217},
                  {"SlumpChart2.png", 597, 149},
                  {"KeizokuChart.png", 305, 182}};
    for (const auto& c : charts) {
        const QImage image(QString::fromStdString((out / c.name).string()));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.width(), c.width) << c.name;
        EXPECT_EQ(image.height(), c.height) << c.name;
    }
    const QImage slump(QString::fromStdString((out / "SlumpChart.png").string()));
    // The red line runs through the plotting area; the black loss markers
    // are there because --markers ticked both boxes.
    const QRect plot(60, 25, 500, 170);
    EXPECT_GT(CountPixels(slump, plot, Red), 500);
    EXPECT_GT(CountPixels(slump, plot, Black), 20);
    const QImage pie(QString::fromStdString((out / "KeizokuChart.png").string()));
    EXPECT_GT(CountPixels(pie, QRect(0, 0, 240, 182), Red), 2000);
}

TEST_F(ChartFeedingRenderTest, WithoutMarkersTheSlumpGraphHasNoLossTriangles) {
    const auto with = dir / "with";
    const auto without = dir / "without";
    ASSERT_EQ(RunCli("render --plays 3000 --seed 5 --markers --out '" + with.string() + "'",
                     dir / "err.txt"),
              0);
    ASSERT_EQ(
        RunCli("render --plays 3000 --seed 5 --out '" + without.string() + "'", dir / "err.txt"),
        0);
    const QImage a(QString::fromStdString((with / "SlumpChart.png").string()));
    const QImage b(QString::fromStdString((without / "SlumpChart.png").string()));
    const QRect plot(60, 25, 450, 170); // left of the legend
    EXPECT_GT(CountPixels(a, plot, Black), CountPixels(b, plot, Black) + 20);
}

TEST_F(ChartFeedingRenderTest, ARunFileIsShownAsOpenShowsIt) {
    const auto sim = dir / "a.sim";
    ASSERT_EQ(RunCli("run --plays 800 --seed 3 --out '" + sim.string() + "'", dir / "err.txt"), 0);
    const auto out = dir / "file";
    ASSERT_EQ(RunCli("render '" + sim.string() + "' --out '" + out.string() + "'", dir / "err.txt"),
              0)
        << ReadText(dir / "err.txt");
    const QImage slump(QString::fromStdString((out / "SlumpChart.png").string()));
    EXPECT_GT(CountPixels(slump, QRect(60, 25, 500, 170), Red), 300);
}

TEST_F(ChartFeedingRenderTest, RefusedCommandsSayWhyAndWriteNothing) {
    const auto out = dir / "none";
    const struct {
        std::string args;
        int code;
        std::string message;
    } cases[] = {
        {"render --plays abc --out '" + out.string() + "'", 2, "'abc' は整数ではありません"},
        {"render --plays 0 --out '" + out.string() + "'", 2, "Play数"},
        {"render '" + (dir / "missing.sim").string() + "' --out '" + out.string() + "'", 1,
         "missing.sim"},
        {"render --plays 10", 2, "--out"},
        {"render --out '" + out.string() + "'", 2, "--plays"},
        {"render --plays 10 --seed -1 --out '" + out.string() + "'", 2, "--seed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunCli(c.args, dir / "err.txt"), c.code) << c.args;
        EXPECT_NE(ReadText(dir / "err.txt").find(c.message), std::string::npos) << c.args;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    // A file that is not a run file.
    std::FILE* f = std::fopen((dir / "bad.sim").c_str(), "wb");
    std::fputs("not a run file at all, just text", f);
    std::fclose(f);
    EXPECT_EQ(RunCli("render '" + (dir / "bad.sim").string() + "' --out '" + out.string() + "'",
                     dir / "err.txt"),
              1);
    EXPECT_FALSE(ReadText(dir / "err.txt").empty());
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The same pictures from inside the test, left in the build folder for a
// person to look at, whether or not the companion is built.
class ChartPicturesTest : public WindowTest {};

TEST_F(ChartPicturesTest, TheChartsOfARunArePaintedAtTheirControlSizes) {
    form->CheckBox1->Click();
    form->CheckBox2->Click();
    FastRun(20000, 7);
    const std::filesystem::path out = OutDir();
    const struct {
        TChart* chart;
        const char* name;
        int width, height;
    } charts[] = {{form->SlumpChart.get(), "window_SlumpChart.png", 597, 217},
                  {form->SlumpChart2.get(), "window_SlumpChart2.png", 597, 149},
                  {form->KeizokuChart.get(), "window_KeizokuChart.png", 305, 182}};
    for (const auto& c : charts) {
        const std::string path = (out / c.name).string();
        ASSERT_TRUE(WritePngFile(path, c.chart->Host()->PaintToPngBytes())) << path;
        const QImage image(QString::fromStdString(path));
        EXPECT_EQ(image.width(), c.width) << c.name;
        EXPECT_EQ(image.height(), c.height) << c.name;
        // Every chart shows red: the line, the bars' tops, the first slice.
        EXPECT_GT(CountPixels(image, image.rect(), Red), 200) << c.name;
    }
    const QPixmap shot = form->Window()->grab();
    EXPECT_TRUE(shot.save(QString::fromStdString((out / "window_charts.png").string()), "PNG"));
}

// A million plays end chains of more lengths than the pie legend has rows.
TEST_F(ChartFeedingRenderTest, TheMillionPlayPieLegendCountsWhatItLeavesOut) {
    FastRun(1000000, 5);
    form->KeizokuChart->Repaint();
    const TChartLegend& legend = form->KeizokuChart->Legend();
    const int left = legend.TotalLegendItems() - static_cast<int>(legend.ShownItems().size());
    ASSERT_GT(left, 1);
    EXPECT_EQ(legend.RestRow(), "他" + std::to_string(left) + "件");
}

// The window on a desktop scaled to 200 %: the charts are drawn with the
// screen's pixels (sharp text, not a blown-up picture), while the mouse, the
// zoom and the layout keep working in logical pixels. Each case runs in a
// child process, since the scale is fixed when the application starts.

#include "WindowFixture.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

const std::string Cli = std::string(YONATAMA_BIN_DIR) + "/yonatama-cli";

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// 2 x 2 blocks in a region whose four pixels are not all equal: none in a
// picture drawn at half size and blown up.
int MixedBlocks(const QImage& image, const QRect& region) {
    int mixed = 0;
    for (int y = region.top() & ~1; y + 1 <= region.bottom(); y += 2)
        for (int x = region.left() & ~1; x + 1 <= region.right(); x += 2) {
            const QRgb a = image.pixel(x, y);
            mixed += (image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a ||
                      image.pixel(x + 1, y + 1) != a)
                         ? 1
                         : 0;
        }
    return mixed;
}

} // namespace

class HighDensityTest : public WindowTest {};

TEST_F(HighDensityTest, ChartsOnADoubledDesktopHaveTheScreensPixels) {
    if (!std::filesystem::exists(Cli))
        GTEST_SKIP() << "yonatama-cli is not built in " << YONATAMA_BIN_DIR;
    const auto one = dir / "one", two = dir / "two";
    const std::string args = " render --plays 3000 --seed 5 --markers --out ";
    ASSERT_EQ(
        Shell("QT_SCALE_FACTOR=1 '" + Cli + "'" + args + "'" + one.string() + "' > /dev/null"), 0);
    ASSERT_EQ(
        Shell("QT_SCALE_FACTOR=2 '" + Cli + "'" + args + "'" + two.string() + "' > /dev/null"), 0);
    const struct {
        const char* name;
        int width, height;
    } charts[] = {{"SlumpChart.png", 597, 217},
                  {"SlumpChart2.png", 597, 149},
                  {"KeizokuChart.png", 305, 182}};
    for (const auto& c : charts) {
        const QImage small(QString::fromStdString((one / c.name).string()));
        const QImage big(QString::fromStdString((two / c.name).string()));
        ASSERT_EQ(small.size(), QSize(c.width, c.height)) << c.name;
        ASSERT_EQ(big.size(), QSize(2 * c.width, 2 * c.height)) << c.name;
        // A blown-up copy has no mixed block anywhere; text drawn with the
        // screen's pixels has many along its edges.
        EXPECT_GT(MixedBlocks(big, big.rect()), 200) << c.name;
    }
    // The slump graph's title, top left: its strokes are sharp.
    const QImage big(QString::fromStdString((two / "SlumpChart.png").string()));
    EXPECT_GT(MixedBlocks(big, QRect(0, 0, 240, 50)), 40);
    big.copy(0, 0, 240, 50).save(QString::fromStdString(OutDir() + "/scaled_slump_title.png"));
    // The window keeps its layout: twice the size in each direction.
    const QImage w1(QString::fromStdString((one / "window.png").string()));
    const QImage w2(QString::fromStdString((two / "window.png").string()));
    EXPECT_NEAR(w2.width(), 2 * w1.width(), 2);
    EXPECT_NEAR(w2.height(), 2 * w1.height(), 2);
}

// The mouse tests of the charts and the window's own tests, again at 200 %.
TEST_F(HighDensityTest, ZoomPanAndLayoutTestsPassOnADoubledDesktop) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string filter =
        "ChartInteractionTest.*:ChartViewResetTest.*:MainFormTest.*:HighDensityTest.TheAboutIcon*";
    const auto log = dir / "child.txt";
    const int code = Shell("QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=offscreen '" + self +
                           "' --gtest_filter='" + filter + "' > '" + log.string() + "' 2>&1");
    std::string text;
    if (std::FILE* f = std::fopen(log.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    EXPECT_EQ(code, 0) << text.substr(text.size() > 6000 ? text.size() - 6000 : 0);
    EXPECT_NE(text.find("[  PASSED  ]"), std::string::npos);
}

// Run here at the scale of this process and again by the case above at 200 %.
TEST_F(HighDensityTest, TheAboutIconHasTheScreensPixels) {
    auto* label = static_cast<QLabel*>(about->ProgramIcon->Widget());
    const qreal dpr = label->devicePixelRatioF();
    const QPixmap icon = label->pixmap();
    EXPECT_EQ(icon.devicePixelRatio(), dpr);
    EXPECT_EQ(icon.width(), static_cast<int>(std::ceil(32 * dpr)));
    EXPECT_EQ(label->width(), 32);
}

// What the analysis dialog's fan chart and the million-play pie show stays
// readable: the fan's bottom labels keep apart on screens of every scale (as
// drawn, not as measured), its legend lists every series, and the pie legend
// says what it leaves out.

#include "WindowFixture.h"

#include "app/StudyChart.h"
#include "app/TheoryDialog.h"
#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"

#include <QImage>
#include <algorithm>
#include <string>
#include <utility>

namespace {

// A fan whose spread grows with the plays, with the exact lines beside it.
StudyFigures Fan(int plays) {
    StudyFigures f;
    f.Runs = 1000;
    f.Plays = plays;
    f.Border = 12.5;
    for (int k = 0; k <= 50; ++k) {
        const int x = plays * k / 50;
        f.BandPlays.push_back(x);
        f.Bands.push_back({-20.0 * x, -10.0 * x, -2.0 * x, 5.0 * x, 20.0 * x});
        f.TheoryBandPlays.push_back(x);
        f.TheoryBands.push_back({-19LL * x, -9LL * x, -2LL * x, 6LL * x, 21LL * x});
    }
    return f;
}

QImage Blank(int width, int height, double scale) {
    QImage image(static_cast<int>(width * scale), static_cast<int>(height * scale),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

// The device columns a text call inks when drawn alone on a target of this scale.
std::pair<int, int> InkColumns(const TDrawCall& call, int width, double scale) {
    QImage image = Blank(width, call.Args[1] + 40, scale);
    {
        QtDrawContext alone(&image);
        alone.SetFont(call.Font);
        alone.SetTextAlign(call.TextAlign);
        alone.SetBackMode(bmTransparent);
        alone.TextOut(call.Args[0], call.Args[1], call.Text);
    }
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

} // namespace

TEST_F(WindowTest, TheFanChartsBottomLabelsKeepApartAtEveryScale) {
    form->AnalysisTheoryMenu->Click();
    QCoreApplication::processEvents();
    TChart& chart = *form->TheoryDialog->StudyChart;
    for (const int plays : {1000, 1500, 3000, 10000}) {
        ShowStudyChart(chart, {Fan(plays)});
        for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
            const std::string name =
                std::to_string(plays) + " plays at scale " + std::to_string(scale).substr(0, 3);
            QImage image = Blank(chart.Width(), chart.Height(), scale);
            QtDrawContext target(&image);
            RecordingDrawContext log(&target);
            chart.Canvas().SetUseBuffer(false);
            chart.Draw(log, chart.GetClientRect());
            // The bottom labels are the texts centred on the labels' line.
            const int line = chart.BottomAxis().PosLabels();
            std::vector<std::pair<int, int>> inks;
            for (const TDrawCall& call : log.CallsOf("TextOut"))
                if ((call.TextAlign & TA_CENTER) == TA_CENTER && call.Args[1] == line)
                    inks.push_back(InkColumns(call, chart.Width(), scale));
            ASSERT_GE(inks.size(), 4u) << name;
            std::sort(inks.begin(), inks.end());
            for (std::size_t i = 1; i < inks.size(); ++i)
                EXPECT_GE(inks[i].first - inks[i - 1].second, scale)
                    << name << ": labels " << i - 1 << " and " << i << " run together";
            // Every series the fan shows in its legend has its row.
            EXPECT_EQ(chart.Legend().ShownItems().size(), 6u) << name;
            EXPECT_TRUE(chart.Legend().RestRow().empty()) << name;
        }
    }
}

TEST_F(WindowTest, TheMillionPlayPieLegendSaysWhatItLeavesOut) {
    FastRun(1000000, 5);
    TChart& pie = *form->KeizokuChart;
    pie.Repaint();
    const TChartLegend& legend = pie.Legend();
    const int total = legend.TotalLegendItems();
    const int listed = static_cast<int>(legend.ShownItems().size());
    ASSERT_GT(total, listed) << "a million plays end chains of more lengths than rows";
    EXPECT_EQ(legend.RestRow(), "他" + std::to_string(total - listed) + "件");
    // The slices stay as they are: one per chain length.
    EXPECT_EQ(pie.Series(0)->Count(), total);
}

// Renders sample charts to PNG for a person to look at, with a few pixel
// checks of what the pictures must show.

#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TSeriesPointer.h"
#include "chart/Series/TLineSeries.h"
#include "chart/Series/TPieSeries.h"
#include "common/PngFile.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string OutPath(const char* name) {
    return std::string(YONATAMA_TEST_OUT) + "/" + name;
}

QColor Pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

} // namespace

TEST(ChartPanelRender, EmptyChart) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 400, 250);
    const std::string path = OutPath("chart_empty.png");
    ASSERT_TRUE(WritePngFile(path, chart.Host()->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.width(), 400);
    ASSERT_EQ(image.height(), 250);
    // Raised bevel: light top-left edge, dark bottom-right edge, face inside.
    EXPECT_EQ(Pixel(image, 0, 100), QColor(255, 255, 255));
    EXPECT_EQ(Pixel(image, 399, 100), QColor(160, 160, 160));
    EXPECT_EQ(Pixel(image, 5, 5), QColor(240, 240, 240));
    EXPECT_EQ(chart.DrawCount(), 1);
}

TEST(ChartPanelRender, EmptyFlatChart) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 400, 250);
    chart.SetView3D(false);
    const std::string path = OutPath("chart_empty_flat.png");
    ASSERT_TRUE(WritePngFile(path, chart.Host()->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    // The black frame round the plotting area, on all four sides.
    const TRect r = chart.ChartRect;
    const int midX = (r.Left + r.Right) / 2;
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Pixel(image, r.Left, midY), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(image, r.Right, midY), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(image, midX, r.Top), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(image, midX, r.Bottom), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(image, r.Left + 5, r.Top + 5), QColor(240, 240, 240));
}

TEST(ChartPanelRender, FlatChartWithGradientAxesAndLine) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 597, 217);
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.SetBevelOuter(bvNone);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetStartColor(clSilver);
    chart.Gradient().SetEndColor(clWhite);
    chart.Title().SetCaption("スランプグラフ");
    chart.Title().SetAlignment(taLeftJustify);
    chart.Title().Font().SetColor(clBlack);
    chart.BackWall().SetColor(clWhite);
    chart.BottomAxis().Title().SetCaption("Play数（回転数)");
    chart.LeftAxis().Title().SetCaption("玉数");
    chart.Legend().SetCustomPosition(true);
    chart.Legend().SetLeft(520);
    chart.Legend().SetTop(5);
    chart.Legend().SetLegendStyle(lsSeries);

    auto* line = AddTestSeries<TLineSeries>(chart, "残玉");
    line->SetSeriesColor(clRed);
    line->LinePen().SetWidth(2);
    line->Pointer().SetVisible(false);
    for (int i = 1; i <= 200; ++i)
        line->AddXY(i, std::round(400 * std::sin(i / 30.0) - i * 2.0));
    auto* marks = AddTestSeries<TLineSeries>(chart, "勝利");
    marks->SetSeriesColor(clBlue);
    marks->AddXY(50, 300);

    const std::string path = OutPath("chart_flat.png");
    ASSERT_TRUE(WritePngFile(path, chart.Host()->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.width(), 597);
    // Top to bottom: the end colour (white) at the top, the start colour
    // (silver) at the bottom.
    EXPECT_GE(Pixel(image, 2, 2).red(), 250);
    EXPECT_EQ(Pixel(image, 2, 216), QColor(192, 192, 192));
    // The legend box sits at its fixed corner: white fill inside a black frame.
    EXPECT_EQ(Pixel(image, 520, 30 < chart.Legend().RectLegend().Bottom ? 30 : 10),
              QColor(0, 0, 0));
    EXPECT_EQ(Pixel(image, 522, 7), QColor(255, 255, 255));
    // Some red of the line lies inside the plotting area.
    const TRect r = chart.ChartRect;
    int red = 0;
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        for (int x = r.Left + 1; x < r.Right; ++x)
            red += Pixel(image, x, y) == QColor(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 200);
    // The frame of the plotting area.
    EXPECT_EQ(Pixel(image, r.Left, (r.Top + r.Bottom) / 2), QColor(0, 0, 0));
}

TEST(ChartPanelRender, HostPaintsThroughTheBufferOnce) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 200, 120);
    ControlHostHandle* host = chart.Host();
    ASSERT_NE(host, nullptr);
    host->RepaintNow();
    host->RepaintNow();
    EXPECT_EQ(host->PaintCount(), 2);
    EXPECT_EQ(chart.DrawCount(), 1) << "an unchanged chart re-shows its image";
    chart.SetMarginLeft(10);
    host->RepaintNow();
    EXPECT_EQ(chart.DrawCount(), 2);
}

TEST(ChartPanelRender, PieChartWithRoundLegend) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 305, 182);
    chart.SetBevelOuter(bvNone);
    chart.Title().SetVisible(false);
    chart.SetChart3DPercent(45);
    chart.View3DOptions().SetElevation(315);
    chart.View3DOptions().SetRotation(360);
    chart.View3DOptions().SetPerspective(0);
    chart.View3DOptions().SetOrthogonal(false);
    chart.SetView3DWalls(false);
    chart.Zoom().SetMinimumPixels(5);
    TChartLegend& legend = chart.Legend();
    legend.SetColorWidth(15);
    legend.Symbol().SetWidth(15);
    legend.Shadow().SetHorizSize(1);
    legend.Shadow().SetVertSize(1);
    legend.SetShapeStyle(fosRoundRectangle);
    legend.SetTextStyle(ltsPlain);

    auto* pie = AddTestSeries<TPieSeries>(chart, "KoyakuSeries");
    pie->SetSeriesColor(clRed);
    const int counts[] = {40, 22, 12, 7, 3};
    for (int k = 0; k < 5; ++k)
        pie->AddXY(0, counts[k], std::to_string(k + 1) + "回", clDefault);

    const std::string path = OutPath("chart_pie.png");
    ASSERT_TRUE(WritePngFile(path, chart.Host()->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    const TRect box = legend.RectLegend();
    ASSERT_GT(box.Right, box.Left);
    EXPECT_EQ(legend.NumRows(), 5);
    // Round corner: the box's corner pixel keeps the panel colour.
    EXPECT_EQ(Pixel(image, box.Left, box.Top), QColor(240, 240, 240));
    // Inside the box: white.
    EXPECT_EQ(Pixel(image, box.Left + 3, (box.Top + box.Bottom) / 2), QColor(255, 255, 255));
    for (TChartAxis* a : chart.AxesList())
        EXPECT_FALSE(chart.IsAxisVisible(*a));
    // A drag on the pie does nothing.
    chart.MouseDown(mbLeft, 0, 40, 40);
    EXPECT_FALSE(chart.Zoom().Active);
}

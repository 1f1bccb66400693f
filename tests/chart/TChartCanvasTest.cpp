// Gradients, translucency, text rules and attribute helpers of the chart
// canvas.

#include "chart/ChartCanvas.h"
#include "common/PngFile.h"
#include "platform/DefaultUIFont.h"
#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

// A flat canvas drawing straight onto Dest.
struct FlatRig {
    RecordingDrawContext Dest;
    TView3DOptions View;
    TChartCanvas3D Canvas;
    FlatRig(int w = 300, int h = 300) : Dest(w, h) {
        Canvas.SetUseBuffer(false);
        Canvas.InitWindow(&Dest, &View, clWhite, false, {0, 0, w, h});
        Dest.ClearCalls();
    }
};

struct PixelRig {
    std::unique_ptr<QtDrawContext> Image;
    TView3DOptions View;
    TChartCanvas3D Canvas;
    PixelRig(int w, int h) : Image(std::make_unique<QtDrawContext>(w, h)) {
        Canvas.SetUseBuffer(false);
        Canvas.InitWindow(Image.get(), &View, clWhite, false, {0, 0, w, h});
    }
};

TEST(TChartCanvasGradient, TopBottomPaintsEndAtTopAndStartAtBottom) {
    PixelRig rig(40, 100);
    rig.Canvas.GradientFill({0, 0, 40, 100}, clSilver, clWhite, gdTopBottom, 50);
    EXPECT_EQ(rig.Image->GetPixel(20, 0), clWhite);
    EXPECT_EQ(rig.Image->GetPixel(20, 99), clSilver);
    // Bottom-top is the reverse.
    rig.Canvas.GradientFill({0, 0, 40, 100}, clSilver, clWhite, gdBottomTop, 50);
    EXPECT_EQ(rig.Image->GetPixel(20, 0), clSilver);
    EXPECT_EQ(rig.Image->GetPixel(20, 99), clWhite);
    // Left-right puts the start colour at the right edge.
    rig.Canvas.GradientFill({0, 0, 40, 100}, clSilver, clWhite, gdLeftRight, 50);
    EXPECT_EQ(rig.Image->GetPixel(39, 50), clSilver);
    EXPECT_EQ(rig.Image->GetPixel(0, 50), clWhite);
}

TEST(TChartCanvasGradient, BandsFromTheBottomWithIntegerSteps) {
    FlatRig rig;
    rig.Canvas.GradientFill({10, 20, 30, 24}, clBlack, RGBColor(255, 30, 3), gdTopBottom, 50);
    const auto fills = rig.Dest.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 4u);
    // Band i covers row 23 - i; channel = i * d / 3 truncated.
    const TColor expected[4] = {RGBColor(0, 0, 0), RGBColor(85, 10, 1), RGBColor(170, 20, 2),
                                RGBColor(255, 30, 3)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fills[size_t(i)].Args, (std::vector<int>{10, 23 - i, 30, 24 - i})) << i;
        EXPECT_EQ(fills[size_t(i)].Brush.Color, expected[i]) << i;
    }
}

TEST(TChartCanvasGradient, Balance100FollowsTheSquare) {
    FlatRig rig;
    rig.Canvas.GradientFill({0, 0, 5, 4}, clBlack, clWhite, gdTopBottom, 100);
    const auto fills = rig.Dest.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 4u);
    // f = ((i + 1) / 4)^2: 1/16, 4/16, 9/16, 1 of 255, rounded.
    const int grey[4] = {16, 64, 143, 255};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fills[size_t(i)].Brush.Color, RGBColor(grey[i], grey[i], grey[i])) << i;
}

TEST(TChartCanvasGradient, AtMost256BandsOf3Or4Rows) {
    FlatRig rig(100, 1100);
    rig.Canvas.GradientFill({0, 0, 100, 1000}, clSilver, clWhite, gdTopBottom, 50);
    const auto fills = rig.Dest.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 256u);
    int rows = 0, bottom = 1000;
    for (const TDrawCall& f : fills) {
        const int h = f.Args[3] - f.Args[1];
        EXPECT_TRUE(h == 3 || h == 4) << f.ToString();
        EXPECT_EQ(f.Args[3], bottom); // bands stack upward without gaps
        bottom = f.Args[1];
        rows += h;
    }
    EXPECT_EQ(rows, 1000);
}

TEST(TChartCanvasGradient, NothingForFewerThanTwoBands) {
    FlatRig rig;
    rig.Canvas.GradientFill({0, 0, 100, 1}, clSilver, clWhite, gdTopBottom, 50);
    rig.Canvas.GradientFill({0, 0, 1, 100}, clSilver, clWhite, gdLeftRight, 50);
    EXPECT_TRUE(rig.Dest.Calls().empty());
}

TEST(TChartCanvasGradient, KeepsTheCanvasBrushAndPen) {
    FlatRig rig;
    rig.Canvas.SetBrushColor(clAqua);
    rig.Canvas.SetPenColor(clGreen);
    rig.Canvas.GradientFill({0, 0, 50, 50}, clSilver, clWhite, gdTopBottom, 50);
    rig.Canvas.Rectangle(0, 0, 5, 5);
    const TDrawCall& last = rig.Dest.Calls().back();
    EXPECT_EQ(last.Brush.Color, clAqua);
    EXPECT_EQ(last.Pen.Color, clGreen);
}

TEST(TChartCanvasGradient, MiddleColourSplitsTheRectangle) {
    PixelRig rig(20, 100);
    TChartGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clBlue);
    EXPECT_EQ(g.MidColor(), clNone);
    g.SetMidColor(clLime);
    g.Draw(rig.Canvas, {0, 0, 20, 100});
    EXPECT_EQ(rig.Image->GetPixel(10, 0), clBlue);  // end at the top
    EXPECT_EQ(rig.Image->GetPixel(10, 99), clRed);  // start at the bottom
    EXPECT_EQ(rig.Image->GetPixel(10, 49), clLime); // middle at the split
    EXPECT_EQ(rig.Image->GetPixel(10, 50), clLime);
}

TEST(TChartCanvasGradient, RoundCornerClipsMeanwhile) {
    PixelRig rig(60, 60);
    TChartGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    g.Draw(rig.Canvas, {0, 0, 60, 60}, 20);
    EXPECT_EQ(rig.Image->GetPixel(0, 0), clWhite);
    EXPECT_EQ(rig.Image->GetPixel(30, 30), clRed);
    // The clip is gone afterwards.
    rig.Canvas.SetPixel(0, 0, clBlue);
    EXPECT_EQ(rig.Image->GetPixel(0, 0), clBlue);
}

TEST(TChartCanvasGradient, RadialRunsFromStartInsideToEndOutside) {
    PixelRig rig(81, 81);
    rig.Canvas.GradientFill({0, 0, 80, 80}, clWhite, clBlack, gdRadial, 50);
    EXPECT_EQ(rig.Image->GetPixel(0, 0), clBlack);
    const TColor centre = rig.Image->GetPixel(41, 41);
    EXPECT_GT(GetRValue(centre), 200);
    EXPECT_GT(GetRValue(centre), GetRValue(rig.Image->GetPixel(41, 70)));
    EXPECT_GT(GetRValue(rig.Image->GetPixel(41, 70)), 0);
}

TEST(TChartCanvasGradient, SettersNotifyOnlyOnRealChange) {
    int changes = 0;
    TChartGradient g([&] { ++changes; });
    g.SetBalance(50);
    g.SetDirection(gdTopBottom);
    g.SetVisible(false);
    EXPECT_EQ(changes, 0);
    g.SetBalance(100);
    g.SetMidColor(clNone); // setting marks the middle colour as used
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 2);
}

TEST(TChartCanvasBlend, ShadowMixesWithTheBackground) {
    PixelRig rig(100, 100);
    TChartShadow shadow;
    shadow.SetColor(10526880); // 160 grey
    shadow.SetHorizSize(10);
    shadow.SetVertSize(29);
    shadow.SetTransparency(53);
    shadow.DrawEllipse(rig.Canvas, {10, 10, 50, 50}, 0);
    // drawn + 53 * (255 - drawn) / 100 = 160 + 50.
    EXPECT_EQ(rig.Image->GetPixel(40, 59), RGBColor(210, 210, 210));
    EXPECT_EQ(rig.Image->GetPixel(21, 40), clWhite); // outside the ellipse
    EXPECT_EQ(rig.Image->GetPixel(30, 30), clWhite); // the shadow is moved
}

TEST(TChartCanvasBlend, FormulaOverColouredPixels) {
    PixelRig rig(20, 20);
    rig.Canvas.SetBrushColor(RGBColor(0, 100, 250));
    rig.Canvas.FillRect({0, 0, 20, 20});
    auto blend = rig.Canvas.BeginBlending({2, 2, 12, 12}, 30);
    rig.Canvas.SetBrushColor(RGBColor(200, 50, 10));
    rig.Canvas.FillRect({0, 0, 20, 20});
    rig.Canvas.EndBlending(std::move(blend));
    // 200 + 30 * (0 - 200) / 100 = 140; 50 + 15 = 65; 10 + 72 = 82.
    EXPECT_EQ(rig.Image->GetPixel(5, 5), RGBColor(140, 65, 82));
    EXPECT_EQ(rig.Image->GetPixel(15, 15), RGBColor(200, 50, 10)); // outside
}

TEST(TChartCanvasBlend, IntegerArithmeticTruncatesTowardZero) {
    struct Case {
        int T;
        int Saved, Drawn, Result;
    };
    // 50 * 255 / 100 = 127.5 -> 127; 99 * -255 / 100 = -252.45 -> -252.
    for (const Case c :
         {Case{50, 255, 0, 127}, Case{99, 0, 255, 3}, Case{100, 7, 200, 7}, Case{0, 7, 200, 200}}) {
        PixelRig rig(10, 10);
        rig.Canvas.SetBrushColor(RGBColor(c.Saved, c.Saved, c.Saved));
        rig.Canvas.FillRect({0, 0, 10, 10});
        auto blend = rig.Canvas.BeginBlending({0, 0, 10, 10}, c.T);
        rig.Canvas.SetBrushColor(RGBColor(c.Drawn, c.Drawn, c.Drawn));
        rig.Canvas.FillRect({0, 0, 10, 10});
        rig.Canvas.EndBlending(std::move(blend));
        EXPECT_EQ(GetRValue(rig.Image->GetPixel(4, 4)), c.Result) << "T " << c.T;
    }
}

TEST(TChartCanvasBlend, TinyOrInvertedRectanglesDoNothing) {
    PixelRig rig(20, 20);
    for (const TRect r : {TRect{5, 5, 6, 9}, TRect{-10, -10, -2, -2}, TRect{5, 5, 5, 5}}) {
        auto blend = rig.Canvas.BeginBlending(r, 50);
        rig.Canvas.SetBrushColor(clBlack);
        rig.Canvas.FillRect({0, 0, 20, 20});
        rig.Canvas.EndBlending(std::move(blend));
        EXPECT_EQ(rig.Image->GetPixel(5, 5), clBlack);
        rig.Canvas.SetBrushColor(clWhite);
        rig.Canvas.FillRect({0, 0, 20, 20});
    }
}

TEST(TChartCanvasShadow, NoColourOrNoSizeDrawsNothing) {
    struct Case {
        TColor Color;
        int H, V;
    };
    for (const Case c : {Case{clNone, 5, 5}, Case{clGray, 0, 0}}) {
        FlatRig rig;
        TChartShadow shadow;
        shadow.SetColor(c.Color);
        shadow.SetHorizSize(c.H);
        shadow.SetVertSize(c.V);
        shadow.SetTransparency(50);
        shadow.Draw(rig.Canvas, {0, 0, 10, 10});
        shadow.DrawEllipse(rig.Canvas, {0, 0, 10, 10}, 0);
        EXPECT_TRUE(rig.Dest.Calls().empty());
    }
}

TEST(TChartCanvasShadow, DrawFillsTheStripsUnderAndRight) {
    FlatRig rig;
    TChartShadow shadow;
    shadow.SetHorizSize(3);
    shadow.SetVertSize(4);
    shadow.Draw(rig.Canvas, {10, 20, 50, 60});
    const auto fills = rig.Dest.CallsOf("FillRect");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].ToString(), "FillRect 13,60,53,64");
    EXPECT_EQ(fills[1].ToString(), "FillRect 50,24,53,64");
    EXPECT_EQ(fills[0].Brush.Color, 12632256);
    EXPECT_EQ(shadow.Size(), 4);
}

TEST(TChartCanvasText, NegativeShadowMovesTheMainText) {
    FlatRig rig;
    TChartFont font;
    font.Shadow().SetHorizSize(-2);
    font.Shadow().SetColor(clGray);
    font.SetColor(clRed);
    rig.Canvas.AssignFont(font);
    const int plain = rig.Dest.TextWidth("abc");
    EXPECT_EQ(rig.Canvas.TextWidth("abc"), plain + 2);
    rig.Canvas.TextOut(50, 60, "abc");
    const auto texts = rig.Dest.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].ToString(), "TextOut 50,60 \"abc\"");
    EXPECT_EQ(texts[0].TextColor, clGray);
    EXPECT_EQ(texts[1].ToString(), "TextOut 52,60 \"abc\"");
    EXPECT_EQ(texts[1].TextColor, clRed);
}

TEST(TChartCanvasText, PositiveShadowDrawsBehindAtAnOffset) {
    FlatRig rig;
    TChartFont font;
    font.Shadow().SetHorizSize(3);
    font.Shadow().SetVertSize(1);
    rig.Canvas.AssignFont(font);
    EXPECT_EQ(rig.Canvas.TextHeight("x"), rig.Dest.TextHeight("x") + 1);
    rig.Canvas.TextOut(10, 10, "x");
    const auto texts = rig.Dest.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Args, (std::vector<int>{13, 11}));
    EXPECT_EQ(texts[1].Args, (std::vector<int>{10, 10}));
}

TEST(TChartCanvasText, OutlineTurnsTextIntoAPath) {
    FlatRig rig;
    TChartFont font;
    font.OutLine().SetVisible(true);
    font.OutLine().SetColor(clBlue);
    rig.Canvas.AssignFont(font);
    rig.Canvas.TextOut(5, 5, "A");
    ASSERT_EQ(rig.Dest.CallsOf("TextOut").size(), 0u);
    const auto paths = rig.Dest.CallsOf("TextPath");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].Args[2], int(tpStrokeAndFill));
    EXPECT_EQ(paths[0].Pen.Color, clBlue);
    EXPECT_EQ(paths[0].Brush.Color, clBlack);

    font.SetColor(clNone);
    rig.Canvas.AssignFont(font);
    rig.Canvas.TextOut(5, 5, "A");
    EXPECT_EQ(rig.Dest.CallsOf("TextPath").back().Args[2], int(tpStroke));
}

TEST(TChartCanvasText, GradientClipsToTheTextAndRemovesTheClip) {
    FlatRig rig;
    TChartFont font;
    font.Gradient().SetVisible(true);
    rig.Canvas.AssignFont(font);
    rig.Canvas.TextOut(5, 5, "A");
    std::vector<std::string> ops;
    for (const TDrawCall& c : rig.Dest.Calls())
        if (ops.empty() || ops.back() != c.Op)
            ops.push_back(c.Op);
    EXPECT_EQ(ops, (std::vector<std::string>{"IntersectClipTextPath", "FillRect", "SetClip"}));
    EXPECT_EQ(rig.Dest.Clip(), nullptr);
}

TEST(TChartCanvasText, RotateLabelWrapsAbove360) {
    FlatRig rig;
    rig.Canvas.RotateLabel(10, 20, "t", 450);
    const auto texts = rig.Dest.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Font.Orientation, 900);
    EXPECT_EQ(texts[0].Brush.Style, bsClear);
    EXPECT_EQ(rig.Canvas.Font().Orientation, 0); // one call only
}

TEST(TChartCanvasText, ZoomedTextIn3D) {
    RecordingDrawContext dest(300, 300);
    TView3DOptions view;
    view.SetZoom(150);
    TChartCanvas3D canvas;
    canvas.SetUseBuffer(false);
    canvas.InitWindow(&dest, &view, clWhite, true, {0, 0, 300, 300});
    canvas.Projection(0, {0, 0, 300, 300}, {0, 0, 300, 300});
    TChartFont font;
    font.SetSize(10);
    canvas.AssignFont(font);
    canvas.TextOut3D(150, 150, 0, "z");
    const auto texts = dest.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Font.Size, 15);
    EXPECT_EQ(texts[0].Font.Height, 0);
    EXPECT_EQ(canvas.Font().Height, font.Height()); // restored
}

TEST(TChartCanvasAttributes, PensByWidthAndEndStyle) {
    struct Case {
        int Width;
        TPenEndStyle End;
        bool Geometric;
        TPenEndCap Cap;
        TPenJoin Join;
    };
    for (const Case c :
         {Case{1, esSquare, false, pecRound, pjRound}, Case{2, esRound, true, pecRound, pjRound},
          Case{3, esSquare, true, pecSquare, pjBevel}, Case{4, esFlat, true, pecFlat, pjMiter}}) {
        FlatRig rig;
        TChartPen pen;
        pen.SetWidth(c.Width);
        pen.SetEndStyle(c.End);
        pen.SetStyle(psDash);
        rig.Canvas.AssignVisiblePenColor(pen, clRed);
        const TPenDesc& d = rig.Canvas.Pen();
        EXPECT_EQ(d.Color, clRed);
        EXPECT_EQ(d.Width, c.Width);
        EXPECT_EQ(d.Style, psDash);
        EXPECT_EQ(d.Geometric, c.Geometric) << c.Width;
        if (c.Geometric) {
            EXPECT_EQ(d.EndCap, c.Cap) << c.Width;
            EXPECT_EQ(d.Join, c.Join) << c.Width;
        }
    }
}

TEST(TChartCanvasAttributes, HiddenPenSmallDotsAndMonochrome) {
    FlatRig rig;
    TChartHiddenPen hidden;
    rig.Canvas.AssignVisiblePen(hidden);
    EXPECT_EQ(rig.Canvas.Pen().Style, psClear);
    TChartPen dots;
    dots.SetSmallDots(true);
    dots.SetWidth(3);
    rig.Canvas.AssignVisiblePenColor(dots, clBlue);
    EXPECT_TRUE(rig.Canvas.Pen().SmallDots);
    EXPECT_EQ(rig.Canvas.Pen().Width, 1);
    rig.Canvas.SetMonochrome(true);
    TChartPen pen;
    pen.SetColor(clRed);
    rig.Canvas.AssignVisiblePen(pen);
    EXPECT_EQ(rig.Canvas.Pen().Color, clBlack);
    TChartBrush brush;
    rig.Canvas.AssignBrush(brush, clRed);
    EXPECT_EQ(rig.Canvas.Brush().Color, clWhite);
}

TEST(TChartCanvasAttributes, BrushGapsAndImages) {
    FlatRig rig;
    TChartBrush hatch;
    hatch.SetStyle(bsCross);
    hatch.SetColor(clYellow);
    rig.Canvas.AssignBrush(hatch, clRed);
    EXPECT_EQ(rig.Canvas.Brush().Color, clRed);
    EXPECT_EQ(rig.Canvas.Brush().Style, bsCross);
    EXPECT_EQ(rig.Canvas.GetBackMode(), cbmOpaque);
    EXPECT_EQ(rig.Canvas.GetBackColor(), clYellow); // the gaps
    rig.Canvas.AssignBrushColor(hatch, clRed, clNone);
    EXPECT_EQ(rig.Canvas.GetBackMode(), cbmTransparent);
    rig.Canvas.AssignBrushColor(hatch, clRed, clYellow);
    rig.Canvas.AssignBrush(TChartBrush(), clRed); // own colour still clDefault
    EXPECT_EQ(rig.Canvas.GetBackMode(), cbmTransparent);

    TChartBrush picture;
    auto image = std::make_shared<TRasterImage>();
    image->Width = image->Height = 1;
    image->Pixels = {clBlue};
    picture.SetImage(image);
    rig.Canvas.AssignBrushColor(picture, clGreen, clGray);
    EXPECT_EQ(rig.Canvas.Brush().Style, bsClear);
    EXPECT_EQ(rig.Canvas.Brush().Bitmap, image);
    EXPECT_EQ(rig.Canvas.FontColor(), clGreen);
    EXPECT_EQ(rig.Canvas.GetBackColor(), clGray);
}

TEST(TChartCanvasAttributes, FontZoomAndSpacing) {
    FlatRig rig;
    TChartFont font;
    font.SetSize(10);
    font.SetInterCharSize(3);
    rig.Canvas.SetFontZoom(200);
    rig.Canvas.AssignFont(font);
    EXPECT_EQ(rig.Canvas.Font().Size, 20);
    EXPECT_EQ(rig.Canvas.Font().CharSpacing, 3);
    EXPECT_EQ(rig.Canvas.CurrentFont(), &font);
}

TEST(TChartCanvasAttributes, ResetState) {
    FlatRig rig;
    rig.Canvas.SetPenColor(clRed);
    rig.Canvas.SetPenWidth(4);
    rig.Canvas.SetBrushStyle(bsClear);
    rig.Canvas.SetTextAlign(TA_CENTER);
    rig.Canvas.SetBackMode(cbmOpaque);
    rig.Canvas.ResetState();
    EXPECT_EQ(rig.Canvas.Pen(), TPenDesc{});
    EXPECT_EQ(rig.Canvas.Brush().Color, clWhite);
    EXPECT_EQ(rig.Canvas.Brush().Style, bsSolid);
    EXPECT_EQ(rig.Canvas.Font().Size, 10);
    EXPECT_EQ(rig.Canvas.FontColor(), clBlack);
    EXPECT_EQ(rig.Canvas.GetBackColor(), clWhite);
    EXPECT_EQ(rig.Canvas.GetBackMode(), cbmTransparent);
    EXPECT_EQ(rig.Canvas.GetTextAlign(), TA_LEFT | TA_TOP);
}

TEST(TChartCanvasAttributes, Frame3DDrawsNestedFrames) {
    FlatRig rig;
    TRect r{10, 10, 20, 20};
    rig.Canvas.Frame3D(r, clWhite, clGray, 2);
    EXPECT_EQ(r, (TRect{12, 12, 18, 18}));
    const auto lines = rig.Dest.CallsOf("Polyline");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].ToString(), "Polyline (10,19) (10,10) (19,10)");
    EXPECT_EQ(lines[0].Pen.Color, clWhite);
    EXPECT_EQ(lines[1].ToString(), "Polyline (19,10) (19,19) (9,19)");
    EXPECT_EQ(lines[1].Pen.Color, clGray);
    EXPECT_EQ(lines[2].ToString(), "Polyline (11,18) (11,11) (18,11)");
}

TEST(TChartCanvasColours, DarkAndBright) {
    EXPECT_EQ(ApplyDark(RGBColor(200, 50, 64), 64), RGBColor(136, 0, 0));
    EXPECT_EQ(ApplyDark(clBtnFace, 40), RGBColor(200, 200, 200));
    EXPECT_EQ(ApplyBright(RGBColor(200, 50, 0), 64), RGBColor(255, 114, 64));
    EXPECT_EQ(ColorToGray(RGBColor(10, 20, 32)), RGBColor(20, 20, 20));
}

TEST(TChartCanvasHelpers, RoundingAndRectangles) {
    EXPECT_EQ(ChartRound(0.5), 0);
    EXPECT_EQ(ChartRound(1.5), 2);
    EXPECT_EQ(ChartRound(2.5), 2);
    EXPECT_EQ(ChartRound(-0.5), 0);
    EXPECT_EQ(ChartRound(-1.5), -2);
    TRect r{10, 20, 5, 2};
    OrientRectangle(r);
    EXPECT_EQ(r, (TRect{5, 2, 10, 20}));
    EXPECT_EQ(RectCenter({-5, -5, 0, 0}), (TPoint{-2, -2})); // halves truncate
    EXPECT_EQ(PointAtDistance({0, 0}, {30, 40}, 10), (TPoint{6, 8}));
}

TEST(TChartCanvasDefaults, AttributeDefaults) {
    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), 8421504);
    EXPECT_EQ(dotted.Style(), psDot);
    EXPECT_EQ(TDarkGrayPen().Color(), 8421504);
    EXPECT_EQ(TWhitePen().Color(), 16777215);
    EXPECT_EQ(TChartAxisPen().Width(), 2);
    EXPECT_FALSE(TChartHiddenPen().Visible());
    EXPECT_EQ(TChartPen().EndStyle(), esRound);
    EXPECT_EQ(TChartBrush().Color(), clDefault);
    TChartFont font;
    EXPECT_EQ(font.Color(), clBlack);
    EXPECT_EQ(font.Charset(), 1);
    EXPECT_FALSE(font.HasShadow());
    EXPECT_EQ(font.Name(), GetDefaultFontName());
    EXPECT_EQ(font.Size(), GetDefaultFontSize());
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11); // 8 points at 96 pixels per inch
    TChartShadow shadow;
    EXPECT_EQ(shadow.Color(), 12632256);
    TChartGradient gradient;
    EXPECT_EQ(gradient.Balance(), 50);
    EXPECT_EQ(gradient.EndColor(), 65535);
    EXPECT_FALSE(gradient.Visible());
}

TEST(TChartCanvasDefaults, DefaultFontRule) {
    if (SystemLocaleIsJapanese()) {
        const TUIFontInfo ui = DefaultUIFont();
        EXPECT_EQ(GetDefaultFontName(), ui.Name);
        EXPECT_EQ(GetDefaultFontSize(), ui.PointSize);
    } else {
        EXPECT_EQ(GetDefaultFontName(), "Arial");
        EXPECT_EQ(GetDefaultFontSize(), 8);
    }
}

TEST(TView3DOptions, DefaultsAndRepaintOnRealChange) {
    TView3DOptions view;
    EXPECT_EQ(view.Elevation(), 345);
    EXPECT_EQ(view.Rotation(), 345);
    EXPECT_EQ(view.Perspective(), 15);
    EXPECT_EQ(view.OrthoAngle(), 45);
    EXPECT_TRUE(view.Orthogonal());
    EXPECT_EQ(view.Zoom(), 100);
    std::vector<std::string> events;
    view.OnChange = [&] { events.push_back("change"); };
    view.OnZoomChanged = [&](int z) { events.push_back("zoom " + std::to_string(z)); };
    view.OnScrolled = [&](bool h) { events.push_back(h ? "scroll h" : "scroll v"); };
    view.SetElevation(345);
    view.SetZoom(100);
    EXPECT_TRUE(events.empty());
    view.SetZoom(120);
    view.SetHorizOffset(5);
    view.SetVertOffset(-5);
    EXPECT_EQ(events, (std::vector<std::string>{"zoom 120", "change", "change", "scroll h",
                                                "change", "scroll v"}));
}

TEST(TChartCanvasRender, GradientsPng) {
    PixelRig rig(320, 120);
    rig.Canvas.GradientFill({0, 0, 100, 120}, clSilver, clWhite, gdTopBottom, 50);
    rig.Canvas.GradientFill({110, 0, 210, 120}, clWhite, clSilver, gdBottomTop, 100);
    TChartGradient mid;
    mid.SetDirection(gdLeftRight);
    mid.SetStartColor(clRed);
    mid.SetMidColor(clWhite);
    mid.SetEndColor(clBlue);
    mid.Draw(rig.Canvas, {220, 0, 320, 60}, 12);
    rig.Canvas.GradientFill({220, 60, 320, 120}, clYellow, clNavy, gdRadial, 50);
    std::filesystem::create_directories(YONATAMA_TEST_OUT);
    EXPECT_TRUE(WritePngFile(std::string(YONATAMA_TEST_OUT) + "/canvas_gradients.png",
                             rig.Image->PngBytes()));
    // Balance 100 stays near the bottom band's colour (silver) longer: halfway
    // up it is 192 + 63 / 4, darker than the balance-50 fill's 192 + 63 / 2.
    EXPECT_LT(GetRValue(rig.Image->GetPixel(160, 60)), GetRValue(rig.Image->GetPixel(50, 60)));
}

} // namespace

namespace {

TEST(TChartCanvasRender, TextEffectsPng) {
    PixelRig rig(320, 160);
    TChartFont plain;
    plain.SetSize(14);
    rig.Canvas.AssignFont(plain);
    rig.Canvas.TextOut(10, 10, "Plain 残玉");

    TChartFont shadowed;
    shadowed.SetSize(14);
    shadowed.SetColor(clNavy);
    shadowed.Shadow().SetHorizSize(2);
    shadowed.Shadow().SetVertSize(2);
    shadowed.Shadow().SetTransparency(50);
    rig.Canvas.AssignFont(shadowed);
    rig.Canvas.TextOut(10, 40, "Shadow");

    TChartFont outlined;
    outlined.SetSize(20);
    outlined.SetStyle(fsBold);
    outlined.SetColor(clYellow);
    outlined.OutLine().SetVisible(true);
    outlined.OutLine().SetColor(clRed);
    rig.Canvas.AssignFont(outlined);
    rig.Canvas.TextOut(10, 70, "Outline");

    TChartFont graded;
    graded.SetSize(20);
    graded.SetStyle(fsBold);
    graded.Gradient().SetVisible(true);
    graded.Gradient().SetStartColor(clBlue);
    graded.Gradient().SetEndColor(clRed);
    rig.Canvas.AssignFont(graded);
    rig.Canvas.TextOut(10, 110, "Gradient");

    rig.Canvas.AssignFont(plain);
    rig.Canvas.RotateLabel(260, 150, "Rotated", 90);

    std::filesystem::create_directories(YONATAMA_TEST_OUT);
    EXPECT_TRUE(
        WritePngFile(std::string(YONATAMA_TEST_OUT) + "/canvas_text.png", rig.Image->PngBytes()));
    // The outlined text is filled yellow and stroked red.
    int yellow = 0, red = 0;
    for (int y = 70; y < 105; ++y)
        for (int x = 10; x < 200; ++x) {
            const TColor c = rig.Image->GetPixel(x, y);
            yellow += c == clYellow;
            red += c == clRed;
        }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(red, 20);
}

} // namespace

// The recording context logs what tests assert on, and system colours resolve
// to fixed values.

#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"
#include "platform/SystemColors.h"

#include <gtest/gtest.h>

namespace {

TEST(DrawContextRecording, LogsCallsWithArgumentsAndAttributes) {
    RecordingDrawContext r(100, 100);
    TPenDesc pen;
    pen.Color = clRed;
    pen.Width = 3;
    r.SetPen(pen);
    r.MoveTo(1, 2);
    r.LineTo(30, 40);
    const TPoint tri[3] = {{0, 0}, {5, 0}, {0, 5}};
    r.Polygon(tri, 3);
    r.TextOut(7, 8, "abc");

    ASSERT_EQ(r.Calls().size(), 4u);
    EXPECT_EQ(r.Calls()[1].ToString(), "LineTo 1,2,30,40");
    EXPECT_EQ(r.Calls()[1].Pen.Color, clRed);
    EXPECT_EQ(r.Calls()[1].Pen.Width, 3);
    EXPECT_EQ(r.Calls()[2].ToString(), "Polygon (0,0) (5,0) (0,5)");
    EXPECT_EQ(r.Calls()[3].ToString(), "TextOut 7,8 \"abc\"");
    EXPECT_EQ(r.CallsOf("LineTo").size(), 1u);
    EXPECT_EQ(r.TextWidth("abc"), 3 * RecordingDrawContext::CharWidth);
}

TEST(DrawContextRecording, ClipStateRestoresAndIsLogged) {
    RecordingDrawContext r(50, 50);
    EXPECT_EQ(r.Clip(), nullptr);
    r.IntersectClipRect({1, 2, 3, 4});
    const DrawClipPtr outer = r.Clip();
    ASSERT_NE(outer, nullptr);
    r.IntersectClipEllipse({0, 0, 10, 10});
    r.FillRect({0, 0, 5, 5});
    EXPECT_TRUE(r.Calls().back().Clipped);
    r.SetClip(nullptr);
    r.FillRect({0, 0, 5, 5});
    EXPECT_FALSE(r.Calls().back().Clipped);
}

TEST(DrawContextRecording, ForwardsToATargetForPixels) {
    QtDrawContext image(20, 20);
    RecordingDrawContext r(&image);
    TBrushDesc brush;
    brush.Color = clBlue;
    r.SetBrush(brush);
    r.FillRect({2, 2, 4, 4});
    EXPECT_EQ(image.GetPixel(3, 3), clBlue);
    EXPECT_EQ(r.GetPixel(3, 3), clBlue);
    ASSERT_EQ(r.Calls().size(), 1u);

    // Clips go through to the target and come back together.
    const DrawClipPtr none = r.Clip();
    r.IntersectClipRect({0, 0, 5, 5});
    r.SetClip(none);
    r.FillRect({10, 10, 12, 12});
    EXPECT_EQ(image.GetPixel(11, 11), clBlue);

    // Bitmaps of a forwarding recorder paint real pixels.
    std::unique_ptr<DrawContext> bitmap = r.CreateBitmap(4, 4);
    bitmap->SetBrush(brush);
    bitmap->FillRect({0, 0, 4, 4});
    r.CopyFrom(*bitmap, {0, 0, 4, 4}, 15, 15);
    EXPECT_EQ(image.GetPixel(16, 16), clBlue);
}

TEST(SystemColors, ResolveToFixedValues) {
    struct Case {
        TColor System;
        TColor Rgb;
    };
    for (const Case c :
         {Case{clBtnFace, RGBColor(240, 240, 240)}, Case{clBtnShadow, RGBColor(160, 160, 160)},
          Case{clBtnHighlight, RGBColor(255, 255, 255)}, Case{clWindow, RGBColor(255, 255, 255)},
          Case{clWindowText, RGBColor(0, 0, 0)}, Case{clRed, clRed}, Case{clNone, clNone}})
        EXPECT_EQ(ColorToRGB(c.System), c.Rgb) << std::hex << c.System;
}

} // namespace

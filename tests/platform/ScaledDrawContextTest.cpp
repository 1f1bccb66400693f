// The drawing context over an image with a device pixel ratio (a scaled
// desktop): callers keep working in logical pixels, one-pixel shapes cover
// whole logical pixels, and text is drawn with the device's own pixels.

#include "platform/QtDrawContext.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int W = 80, H = 60;

struct Scaled {
    QImage Image;
    std::unique_ptr<QtDrawContext> Context;
};

Scaled MakeScaled(qreal dpr, int w = W, int h = H) {
    Scaled s;
    s.Image = QImage(int(w * dpr), int(h * dpr), QImage::Format_RGB32);
    s.Image.setDevicePixelRatio(dpr);
    s.Image.fill(Qt::white);
    s.Context = std::make_unique<QtDrawContext>(&s.Image);
    return s;
}

void Pen(DrawContext& c, TColor color, TPenStyle style = psSolid, TPenMode mode = pmCopy) {
    TPenDesc pen;
    pen.Color = color;
    pen.Style = style;
    pen.Mode = mode;
    c.SetPen(pen);
}

void Brush(DrawContext& c, TColor color, TBrushStyle style = bsSolid) {
    TBrushDesc brush;
    brush.Color = color;
    brush.Style = style;
    c.SetBrush(brush);
}

// Shapes whose pixels follow from integer rules alone (no text, no slopes).
const struct {
    const char* name;
    std::function<void(DrawContext&)> draw;
} Scenes[] = {
    {"rectangle with outline",
     [](DrawContext& c) {
         Pen(c, clBlack);
         Brush(c, clRed);
         c.Rectangle(10, 8, 50, 40);
     }},
    {"outline only",
     [](DrawContext& c) {
         Pen(c, clBlue);
         Brush(c, clRed, bsClear);
         c.Rectangle(3, 4, 70, 50);
     }},
    {"fill rect",
     [](DrawContext& c) {
         Brush(c, clGreen);
         c.FillRect({5, 5, 25, 17});
     }},
    {"horizontal and vertical lines",
     [](DrawContext& c) {
         Pen(c, clBlack);
         c.MoveTo(5, 30);
         c.LineTo(60, 30);
         c.MoveTo(40, 55);
         c.LineTo(40, 2);
         c.MoveTo(70, 10);
         c.LineTo(20, 10);
     }},
    {"axis-aligned polyline",
     [](DrawContext& c) {
         Pen(c, clMaroon);
         const TPoint pts[] = {{5, 5}, {60, 5}, {60, 45}, {12, 45}};
         c.Polyline(pts, 4);
     }},
    {"pixels",
     [](DrawContext& c) {
         c.SetPixel(3, 3, clRed);
         c.SetPixel(79, 59, clBlue);
         c.SetPixel(40, 20, clBlack);
     }},
    {"band drawn twice in not-xor",
     [](DrawContext& c) {
         Brush(c, clYellow);
         c.FillRect({0, 0, 80, 60});
         Pen(c, clBlack, psSolid, pmNotXor);
         Brush(c, clWhite, bsClear);
         c.Rectangle(10, 10, 60, 50);
         c.Rectangle(10, 10, 60, 50);
         c.Rectangle(20, 15, 30, 25);
     }},
};

} // namespace

TEST(ScaledDrawContextTest, SizesAndPixelsAreLogical) {
    for (qreal dpr : {1.0, 2.0, 3.0}) {
        Scaled s = MakeScaled(dpr);
        EXPECT_EQ(s.Context->Width(), W) << dpr;
        EXPECT_EQ(s.Context->Height(), H) << dpr;
        s.Context->SetPixel(7, 9, clRed);
        EXPECT_EQ(s.Context->GetPixel(7, 9), clRed) << dpr;
        EXPECT_EQ(s.Context->GetPixel(8, 9), clWhite) << dpr;
        const std::unique_ptr<DrawContext> bitmap = s.Context->CreateBitmap(30, 20);
        EXPECT_EQ(bitmap->Width(), 30) << dpr;
        EXPECT_EQ(bitmap->Height(), 20) << dpr;
    }
}

// Every logical pixel of a shape drawn at scale 2 is a solid 2 x 2 block of
// the colour the same shape has at scale 1.
TEST(ScaledDrawContextTest, OnePixelShapesCoverWholeLogicalPixels) {
    for (const auto& scene : Scenes) {
        Scaled one = MakeScaled(1);
        Scaled two = MakeScaled(2);
        scene.draw(*one.Context);
        scene.draw(*two.Context);
        one.Context->Flush();
        two.Context->Flush();
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                for (int d = 0; d < 4; ++d)
                    wrong += two.Image.pixel(2 * x + d % 2, 2 * y + d / 2) != one.Image.pixel(x, y);
        EXPECT_EQ(wrong, 0) << scene.name;
        two.Image.save(QString("%1/scaled_%2.png")
                           .arg(YONATAMA_TEST_OUT)
                           .arg(QString(scene.name).replace(' ', '_')));
    }
}

TEST(ScaledDrawContextTest, ReadAndWriteTakeOneValuePerLogicalPixel) {
    Scaled s = MakeScaled(2);
    const TRect r{4, 6, 10, 9};
    std::vector<TColor> colours(std::size_t(r.Width() * r.Height()));
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = RGBColor(int(i * 7 % 256), 10, 200);
    s.Context->WritePixels(r, colours);
    std::vector<TColor> back;
    s.Context->ReadPixels(r, back);
    EXPECT_EQ(back, colours);
    // The logical pixel right of the rectangle is untouched.
    EXPECT_EQ(s.Context->GetPixel(10, 6), clWhite);
    EXPECT_EQ(s.Image.pixel(21, 13), qRgb(255, 255, 255));
}

namespace {

// 2 x 2 blocks whose four pixels are not all equal: none in a picture that
// was drawn at half size and blown up.
int MixedBlocks(const QImage& image) {
    int mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb a = image.pixel(x, y);
            mixed += (image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a ||
                      image.pixel(x + 1, y + 1) != a)
                         ? 1
                         : 0;
        }
    return mixed;
}

void WriteText(DrawContext& c) {
    TFontDesc font;
    font.Name = "MS UI Gothic";
    font.Height = -14;
    c.SetFont(font);
    c.SetBackMode(bmTransparent);
    c.SetTextColor(clBlack);
    c.TextOut(4, 4, "スランプ 1,000");
}

} // namespace

TEST(ScaledDrawContextTest, TextIsDrawnWithTheDevicePixels) {
    Scaled two = MakeScaled(2, 120, 30);
    WriteText(*two.Context);
    two.Context->Flush();
    EXPECT_GT(MixedBlocks(two.Image), 30);
    // Through a buffer, as the charts paint: the copy keeps every pixel.
    Scaled target = MakeScaled(2, 120, 30);
    const std::unique_ptr<DrawContext> buffer = target.Context->CreateBitmap(120, 30);
    WriteText(*buffer);
    target.Context->CopyFrom(*buffer, {0, 0, 120, 30}, 0, 0);
    target.Context->Flush();
    EXPECT_EQ(target.Image, two.Image);
    two.Image.save(QString("%1/scaled_text.png").arg(YONATAMA_TEST_OUT));
}

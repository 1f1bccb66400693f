// Pixel conventions of the QImage drawing context: the chart formulas rely on
// them, so each is pinned down here once.

#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr TColor kPen = clBlack;
constexpr TColor kFill = clRed;

std::unique_ptr<QtDrawContext> MakeContext(int w = 60, int h = 60) {
    auto cp = std::make_unique<QtDrawContext>(w, h);
    QtDrawContext& c = *cp;
    TPenDesc pen;
    pen.Color = kPen;
    c.SetPen(pen);
    TBrushDesc brush;
    brush.Color = kFill;
    c.SetBrush(brush);
    return cp;
}

// Columns and rows holding any pixel that is not white.
TRect InkBounds(const QtDrawContext& c) {
    TRect r{c.Width(), c.Height(), -1, -1};
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.GetPixel(x, y) != clWhite) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x);
                r.Bottom = std::max(r.Bottom, y);
            }
    return r;
}

TEST(DrawContextPixel, RectangleCoversLeftToRightMinusOne) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(c.GetPixel(0, 0), kPen);
    EXPECT_EQ(c.GetPixel(9, 9), kPen);
    EXPECT_EQ(c.GetPixel(9, 0), kPen);
    EXPECT_EQ(c.GetPixel(5, 5), kFill);
    EXPECT_EQ(c.GetPixel(10, 5), clWhite);
    EXPECT_EQ(c.GetPixel(5, 10), clWhite);
    EXPECT_EQ(InkBounds(c), (TRect{0, 0, 9, 9}));
}

TEST(DrawContextPixel, FillRectUsesBrushOnlyWithinBounds) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.FillRect({5, 6, 15, 16});
    EXPECT_EQ(c.GetPixel(5, 6), kFill);
    EXPECT_EQ(c.GetPixel(14, 15), kFill);
    EXPECT_EQ(InkBounds(c), (TRect{5, 6, 14, 15}));
}

TEST(DrawContextPixel, RectangleWithClearBrushDrawsOutlineOnly) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    TBrushDesc clear;
    clear.Style = bsClear;
    c.SetBrush(clear);
    c.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(c.GetPixel(7, 7), clWhite);
    EXPECT_EQ(c.GetPixel(2, 7), kPen);
    EXPECT_EQ(c.GetPixel(11, 7), kPen);
}

TEST(DrawContextPixel, EllipseStaysInsideItsBox) {
    // The chart asks for (X0, Y0, X1 + 1, Y1 + 1) to cover X0..X1.
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.Ellipse(10, 10, 31, 31);
    EXPECT_EQ(InkBounds(c), (TRect{10, 10, 30, 30}));
    EXPECT_EQ(c.GetPixel(20, 20), kFill);
    EXPECT_EQ(c.GetPixel(10, 20), kPen);
    EXPECT_EQ(c.GetPixel(30, 20), kPen);
    EXPECT_EQ(c.GetPixel(10, 10), clWhite); // corners lie outside
}

struct LineCase {
    int X0, Y0, X1, Y1;
};

class DrawContextLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(DrawContextLine, LeavesOutItsEndPixel) {
    const LineCase l = GetParam();
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.MoveTo(l.X0, l.Y0);
    c.LineTo(l.X1, l.Y1);
    EXPECT_EQ(c.GetPixel(l.X0, l.Y0), kPen);
    EXPECT_EQ(c.GetPixel(l.X1, l.Y1), clWhite);
    // The pixel before the end is drawn.
    const int sx = (l.X1 > l.X0) - (l.X1 < l.X0), sy = (l.Y1 > l.Y0) - (l.Y1 < l.Y0);
    EXPECT_EQ(c.GetPixel(l.X1 - sx, l.Y1 - sy), kPen);
    EXPECT_EQ(c.PenPos(), (TPoint{l.X1, l.Y1}));
}

INSTANTIATE_TEST_SUITE_P(Directions, DrawContextLine,
                         ::testing::Values(LineCase{5, 10, 25, 10}, LineCase{25, 10, 5, 10},
                                           LineCase{10, 5, 10, 25}, LineCase{10, 25, 10, 5},
                                           LineCase{5, 5, 25, 25}, LineCase{25, 5, 5, 25}),
                         [](const ::testing::TestParamInfo<LineCase>& info) {
                             const LineCase& l = info.param;
                             return "From" + std::to_string(l.X0) + "_" + std::to_string(l.Y0) +
                                    "To" + std::to_string(l.X1) + "_" + std::to_string(l.Y1);
                         });

TEST(DrawContextPixel, PieRunsCounterClockwiseFromStartToEnd) {
    // Box 0..40, centre (20, 20); angle 0 is to the right, 90 up.
    auto upperRightPtr = MakeContext();
    QtDrawContext& upperRight = *upperRightPtr;
    upperRight.Pie(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_EQ(upperRight.GetPixel(28, 12), kFill);
    EXPECT_EQ(upperRight.GetPixel(12, 12), clWhite);
    EXPECT_EQ(upperRight.GetPixel(12, 28), clWhite);
    EXPECT_EQ(upperRight.GetPixel(28, 28), clWhite);

    // Same points swapped: the other three quarters.
    auto restPtr = MakeContext();
    QtDrawContext& rest = *restPtr;
    rest.Pie(0, 0, 41, 41, 20, 0, 40, 20);
    EXPECT_EQ(rest.GetPixel(28, 12), clWhite);
    EXPECT_EQ(rest.GetPixel(12, 12), kFill);
    EXPECT_EQ(rest.GetPixel(12, 28), kFill);
    EXPECT_EQ(rest.GetPixel(28, 28), kFill);
}

TEST(DrawContextPixel, ArcRunsCounterClockwise) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    // From angle 90 (top) to 180 (left): the upper-left quarter of the rim.
    c.Arc(0, 0, 41, 41, 20, 0, 0, 20);
    const TRect ink = InkBounds(c);
    EXPECT_LE(ink.Right, 21);
    EXPECT_LE(ink.Bottom, 21);
    EXPECT_EQ(ink.Left, 0);
    EXPECT_EQ(ink.Top, 0);
    EXPECT_EQ(c.GetPixel(10, 10), clWhite); // the arc has no fill
}

TEST(DrawContextPixel, NotXorTwiceRestoresThePicture) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.FillRect({0, 0, 20, 20});
    TPenDesc pen;
    pen.Color = clBlack;
    pen.Mode = pmNotXor;
    c.SetPen(pen);
    c.MoveTo(0, 10);
    c.LineTo(40, 10);
    EXPECT_NE(c.GetPixel(5, 10), kFill);
    EXPECT_EQ(c.GetPixel(30, 10), clBlack); // not-xor of black over white
    c.MoveTo(0, 10);
    c.LineTo(40, 10);
    EXPECT_EQ(c.GetPixel(5, 10), kFill);
    EXPECT_EQ(c.GetPixel(30, 10), clWhite);
}

TEST(DrawContextPixel, HatchedBrushGapsFollowBackgroundMode) {
    for (TBackMode mode : {bmOpaque, bmTransparent}) {
        auto cPtr = MakeContext();
        QtDrawContext& c = *cPtr;
        TBrushDesc hatch;
        hatch.Color = clRed;
        hatch.Style = bsHorizontal;
        c.SetBrush(hatch);
        c.SetBackColor(clYellow);
        c.SetBackMode(mode);
        c.FillRect({0, 0, 32, 32});
        std::set<TColor> seen;
        for (int y = 0; y < 32; ++y)
            seen.insert(c.GetPixel(16, y));
        const TColor gap = mode == bmOpaque ? clYellow : clWhite;
        EXPECT_EQ(seen, (std::set<TColor>{clRed, gap})) << "mode " << mode;
    }
}

TEST(DrawContextPixel, BitmapBrushTilesItsPattern) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    auto pattern = std::make_shared<TRasterImage>();
    pattern->Width = 2;
    pattern->Height = 1;
    pattern->Pixels = {clBlue, clLime};
    TBrushDesc brush;
    brush.Bitmap = pattern;
    c.SetBrush(brush);
    c.FillRect({0, 0, 8, 2});
    EXPECT_EQ(c.GetPixel(0, 0), clBlue);
    EXPECT_EQ(c.GetPixel(1, 0), clLime);
    EXPECT_EQ(c.GetPixel(6, 1), clBlue);
}

TEST(DrawContextPixel, WidePenEndCaps) {
    struct Case {
        TPenEndCap Cap;
        bool PastEnd;
    };
    for (const Case k : {Case{pecFlat, false}, Case{pecSquare, true}}) {
        auto cPtr = MakeContext();
        QtDrawContext& c = *cPtr;
        TPenDesc pen;
        pen.Width = 6;
        pen.Geometric = true;
        pen.EndCap = k.Cap;
        c.SetPen(pen);
        c.MoveTo(10, 20);
        c.LineTo(30, 20);
        EXPECT_EQ(c.GetPixel(20, 22), clBlack);
        EXPECT_EQ(c.GetPixel(32, 20) == clBlack, k.PastEnd) << "cap " << k.Cap;
    }
}

TEST(DrawContextPixel, ClipNarrowsAndRestores) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    const DrawClipPtr none = c.Clip();
    EXPECT_EQ(none, nullptr);
    c.IntersectClipRect({10, 10, 20, 20});
    c.IntersectClipRect({15, 0, 40, 40});
    c.FillRect({0, 0, 60, 60});
    EXPECT_EQ(InkBounds(c), (TRect{15, 10, 19, 19}));
    c.SetClip(none);
    c.SetPixel(50, 50, clBlue);
    EXPECT_EQ(c.GetPixel(50, 50), clBlue);
}

TEST(DrawContextPixel, EllipticClipKeepsCornersOut) {
    auto cPtr = MakeContext();
    QtDrawContext& c = *cPtr;
    c.IntersectClipEllipse({0, 0, 40, 40});
    c.FillRect({0, 0, 40, 40});
    EXPECT_EQ(c.GetPixel(20, 20), kFill);
    EXPECT_EQ(c.GetPixel(1, 1), clWhite);
    EXPECT_EQ(c.GetPixel(38, 38), clWhite);
}

TEST(DrawContextPixel, BitmapCopiesAndRawPixels) {
    auto destPtr = MakeContext(40, 40);
    QtDrawContext& dest = *destPtr;
    std::unique_ptr<DrawContext> bitmap = dest.CreateBitmap(10, 5);
    ASSERT_EQ(bitmap->Width(), 10);
    EXPECT_EQ(bitmap->GetPixel(9, 4), clWhite);
    TBrushDesc green;
    green.Color = clGreen;
    bitmap->SetBrush(green);
    bitmap->FillRect({0, 0, 10, 5});
    dest.CopyFrom(*bitmap, {0, 0, 10, 5}, 7, 3);
    EXPECT_EQ(InkBounds(dest), (TRect{7, 3, 16, 7}));

    std::vector<TColor> pixels;
    dest.ReadPixels({6, 3, 9, 4}, pixels);
    EXPECT_EQ(pixels, (std::vector<TColor>{clWhite, clGreen, clGreen}));
    dest.WritePixels({0, 0, 2, 1}, {RGBColor(1, 2, 3), RGBColor(250, 251, 252)});
    EXPECT_EQ(dest.GetPixel(0, 0), RGBColor(1, 2, 3));
    EXPECT_EQ(dest.GetPixel(1, 0), RGBColor(250, 251, 252));
}

TEST(DrawContextPixel, TextFollowsAlignmentAndRotation) {
    auto cPtr = MakeContext(200, 200);
    QtDrawContext& c = *cPtr;
    TFontDesc font;
    font.Height = 20;
    c.SetFont(font);
    c.SetBackMode(bmTransparent);
    const int w = c.TextWidth("WWW"), h = c.TextHeight("WWW");
    ASSERT_GT(w, 20);
    ASSERT_GE(h, 20);

    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(50, 50, "WWW");
    TRect ink = InkBounds(c);
    EXPECT_GE(ink.Left, 50);
    EXPECT_GE(ink.Top, 50);
    EXPECT_LE(ink.Right, 50 + w);
    EXPECT_LE(ink.Bottom, 50 + h);

    auto rightPtr = MakeContext(200, 200);
    QtDrawContext& right = *rightPtr;
    right.SetFont(font);
    right.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    right.TextOut(150, 150, "WWW");
    ink = InkBounds(right);
    EXPECT_LE(ink.Right, 150);
    EXPECT_LE(ink.Bottom, 150);
    EXPECT_GE(ink.Left, 150 - w);

    // 90 degrees counter-clockwise: the text runs upward from the point.
    auto upPtr = MakeContext(200, 200);
    QtDrawContext& up = *upPtr;
    font.Orientation = 900;
    up.SetFont(font);
    up.TextOut(100, 150, "WWW");
    ink = InkBounds(up);
    EXPECT_LE(ink.Bottom, 150);
    EXPECT_GE(ink.Top, 150 - w - 1);
    EXPECT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left);
}

TEST(DrawContextPixel, TransparentTextAfterAnOpaqueShapeKeepsTheBackground) {
    auto cp = MakeContext(100, 60);
    QtDrawContext& c = *cp;
    c.SetBackColor(clBlack);
    c.SetBackMode(bmOpaque);
    c.FillRect({0, 0, 100, 60});
    c.SetBackMode(bmTransparent);
    c.TextOut(10, 10, "  ");
    EXPECT_EQ(c.GetPixel(12, 14), kFill);
}

TEST(DrawContextPixel, OpaqueTextFillsItsBox) {
    auto cPtr = MakeContext(100, 60);
    QtDrawContext& c = *cPtr;
    c.SetBackColor(clYellow);
    c.SetBackMode(bmOpaque);
    c.TextOut(10, 10, "i");
    EXPECT_EQ(c.GetPixel(10, 10), clYellow);
}

TEST(DrawContextPixel, TextPathStrokesWithPenAndFillsWithBrush) {
    auto cPtr = MakeContext(200, 80);
    QtDrawContext& c = *cPtr;
    TFontDesc font;
    font.Height = 40;
    c.SetFont(font);
    TPenDesc pen;
    pen.Color = clBlue;
    c.SetPen(pen);
    TBrushDesc brush;
    brush.Color = clLime;
    c.SetBrush(brush);
    c.TextPath(10, 10, "HH", tpStrokeAndFill);
    std::set<TColor> seen;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x)
            seen.insert(c.GetPixel(x, y));
    EXPECT_TRUE(seen.count(clBlue));
    EXPECT_TRUE(seen.count(clLime));
}

} // namespace

namespace {

TEST(DrawContextPixel, AttributeChangesBetweenCallsTakeEffect) {
    QtDrawContext c(40, 40);
    TPenDesc pen;
    pen.Color = clRed;
    c.SetPen(pen);
    c.MoveTo(0, 5);
    c.LineTo(30, 5);
    pen.Color = clBlue;
    c.SetPen(pen);
    c.LineTo(30, 20);
    pen.Style = psClear;
    c.SetPen(pen);
    c.LineTo(0, 20);
    EXPECT_EQ(c.GetPixel(10, 5), clRed);
    EXPECT_EQ(c.GetPixel(30, 10), clBlue);
    EXPECT_EQ(c.GetPixel(10, 20), clWhite);
    TBrushDesc brush;
    brush.Color = clLime;
    c.SetBrush(brush);
    c.SetPixel(35, 35, clYellow);
    c.FillRect({32, 0, 36, 4});
    EXPECT_EQ(c.GetPixel(33, 1), clLime);
    EXPECT_EQ(c.GetPixel(35, 35), clYellow);
}

} // namespace

namespace {

TEST(DrawContextPixel, PolylineLeavesOutOnlyItsLastPixel) {
    QtDrawContext c(40, 40);
    const TPoint zigzag[] = {{30, 5}, {5, 5}, {30, 20}, {30, 8}, {10, 30}};
    c.Polyline(zigzag, 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.GetPixel(zigzag[i].X, zigzag[i].Y), clBlack) << i;
    EXPECT_EQ(c.GetPixel(10, 30), clWhite);
    EXPECT_TRUE(c.GetPixel(10, 29) == clBlack || c.GetPixel(11, 29) == clBlack);
}

} // namespace

namespace {

TEST(DrawContextPixel, RoundRectCoversLikeRectangleWithoutCorners) {
    QtDrawContext c(40, 40);
    TBrushDesc brush;
    brush.Color = clRed;
    c.SetBrush(brush);
    c.RoundRect(0, 0, 20, 20, 8, 8);
    EXPECT_EQ(c.GetPixel(10, 0), clBlack);
    EXPECT_EQ(c.GetPixel(19, 10), clBlack);
    EXPECT_EQ(c.GetPixel(10, 19), clBlack);
    EXPECT_EQ(c.GetPixel(10, 10), clRed);
    EXPECT_EQ(c.GetPixel(20, 10), clWhite);
    EXPECT_EQ(c.GetPixel(0, 0), clWhite);
}

} // namespace

namespace {

// Whether the picture is unchanged by mirroring it inside a box.
bool MirrorSymmetric(const QtDrawContext& c, const TRect& box) {
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            const TColor here = c.GetPixel(x, y);
            if (here != c.GetPixel(box.Left + box.Right - 1 - x, y) ||
                here != c.GetPixel(x, box.Top + box.Bottom - 1 - y))
                return false;
        }
    return true;
}

enum class Shape { Rectangle, Ellipse, RoundRect, FillRect };

struct BoxCase {
    Shape Kind;
    int W, H;
};

std::string ShapeName(Shape s) {
    switch (s) {
    case Shape::Rectangle:
        return "Rectangle";
    case Shape::Ellipse:
        return "Ellipse";
    case Shape::RoundRect:
        return "RoundRect";
    case Shape::FillRect:
        return "FillRect";
    }
    return {};
}

class DrawContextBox : public ::testing::TestWithParam<BoxCase> {};

// Every box shape covers exactly left..right-1 and top..bottom-1, whatever the
// parity of its size, and is drawn symmetrically inside that box.
TEST_P(DrawContextBox, CoversLeftToRightMinusOneForEvenAndOddSizes) {
    const BoxCase b = GetParam();
    auto cPtr = MakeContext(40, 40);
    QtDrawContext& c = *cPtr;
    const TRect box{10, 12, 10 + b.W, 12 + b.H};
    switch (b.Kind) {
    case Shape::Rectangle:
        c.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
        break;
    case Shape::Ellipse:
        c.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        break;
    case Shape::RoundRect:
        c.RoundRect(box.Left, box.Top, box.Right, box.Bottom, 4, 4);
        break;
    case Shape::FillRect:
        c.FillRect(box);
        break;
    }
    EXPECT_EQ(InkBounds(c), (TRect{box.Left, box.Top, box.Right - 1, box.Bottom - 1}));
    EXPECT_TRUE(MirrorSymmetric(c, box));
    // The middle row and column reach both sides of the box.
    const int midY = box.Top + b.H / 2, midX = box.Left + b.W / 2;
    EXPECT_NE(c.GetPixel(box.Left, midY), clWhite);
    EXPECT_NE(c.GetPixel(box.Right - 1, midY), clWhite);
    EXPECT_NE(c.GetPixel(midX, box.Top), clWhite);
    EXPECT_NE(c.GetPixel(midX, box.Bottom - 1), clWhite);
    if (b.Kind != Shape::FillRect && b.W > 2 && b.H > 2) {
        EXPECT_EQ(c.GetPixel(box.Left, midY), kPen);
        EXPECT_EQ(c.GetPixel(box.Right - 1, midY), kPen);
        EXPECT_EQ(c.GetPixel(midX, midY), kFill);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DrawContextBox,
    ::testing::Values(BoxCase{Shape::Ellipse, 8, 8}, BoxCase{Shape::Ellipse, 9, 9},
                      BoxCase{Shape::Ellipse, 10, 10}, BoxCase{Shape::Ellipse, 11, 11},
                      BoxCase{Shape::Ellipse, 12, 7}, BoxCase{Shape::Ellipse, 7, 12},
                      BoxCase{Shape::Ellipse, 2, 2}, BoxCase{Shape::Ellipse, 1, 1},
                      BoxCase{Shape::Ellipse, 20, 16}, BoxCase{Shape::Rectangle, 8, 8},
                      BoxCase{Shape::Rectangle, 9, 9}, BoxCase{Shape::Rectangle, 10, 7},
                      BoxCase{Shape::Rectangle, 2, 2}, BoxCase{Shape::RoundRect, 10, 10},
                      BoxCase{Shape::RoundRect, 11, 11}, BoxCase{Shape::RoundRect, 12, 9},
                      BoxCase{Shape::FillRect, 8, 8}, BoxCase{Shape::FillRect, 9, 9},
                      BoxCase{Shape::FillRect, 1, 1}),
    [](const ::testing::TestParamInfo<BoxCase>& info) {
        return ShapeName(info.param.Kind) + std::to_string(info.param.W) + "x" +
               std::to_string(info.param.H);
    });

TEST(DrawContextPixel, EvenEllipseOfEightIsEightAcross) {
    // The chart's win marker: Ellipse(10, 10, 18, 18) must cover 10..17.
    auto cPtr = MakeContext(30, 30);
    QtDrawContext& c = *cPtr;
    c.Ellipse(10, 10, 18, 18);
    EXPECT_EQ(InkBounds(c), (TRect{10, 10, 17, 17}));
}

TEST(DrawContextPixel, EllipseWithClearPenFillsTheSameBox) {
    for (const int size : {8, 9}) {
        auto cPtr = MakeContext(30, 30);
        QtDrawContext& c = *cPtr;
        TPenDesc clear;
        clear.Style = psClear;
        c.SetPen(clear);
        c.Ellipse(10, 10, 10 + size, 10 + size);
        EXPECT_EQ(InkBounds(c), (TRect{10, 10, 9 + size, 9 + size})) << size;
        EXPECT_EQ(c.GetPixel(10, 10 + size / 2), kFill) << size;
    }
}

TEST(DrawContextPixel, EllipseOutlineIsClosedAndOnePixelThin) {
    auto cPtr = MakeContext(40, 40);
    QtDrawContext& c = *cPtr;
    TBrushDesc clear;
    clear.Style = bsClear;
    c.SetBrush(clear);
    c.Ellipse(5, 5, 25, 21);
    // Every row of the box has outline pixels on both sides and white inside
    // them, apart from the flat top and bottom rows.
    for (int y = 6; y < 20; ++y) {
        int first = -1, last = -1;
        for (int x = 5; x < 25; ++x)
            if (c.GetPixel(x, y) == kPen) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << y;
        EXPECT_EQ(first + last, 5 + 24) << y; // symmetric
        EXPECT_EQ(c.GetPixel((first + last) / 2, y), clWhite) << y;
    }
}

struct PolygonCase {
    const char* Name;
    std::vector<TPoint> Points;
    TRect Ink; // inclusive bounds
};

class DrawContextPolygon : public ::testing::TestWithParam<PolygonCase> {};

// A polygon with a pen covers its vertices' pixels: a triangle 9 wide covers
// 9 columns, as the chart's markers expect.
TEST_P(DrawContextPolygon, CoversEveryVertexPixel) {
    const PolygonCase& p = GetParam();
    auto cPtr = MakeContext(40, 40);
    QtDrawContext& c = *cPtr;
    c.Polygon(p.Points.data(), static_cast<int>(p.Points.size()));
    EXPECT_EQ(InkBounds(c), p.Ink);
    for (const TPoint& v : p.Points)
        EXPECT_EQ(c.GetPixel(v.X, v.Y), kPen) << v.X << "," << v.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DrawContextPolygon,
    ::testing::Values(
        PolygonCase{"TriangleWidth9", {{10, 20}, {18, 20}, {14, 12}}, {10, 12, 18, 20}},
        PolygonCase{"TriangleWidth8", {{10, 20}, {17, 20}, {13, 13}}, {10, 13, 17, 20}},
        PolygonCase{"DownTriangleWidth9", {{10, 12}, {18, 12}, {14, 20}}, {10, 12, 18, 20}},
        PolygonCase{"LeftTriangle", {{10, 16}, {18, 20}, {18, 12}}, {10, 12, 18, 20}},
        PolygonCase{"RightTriangle", {{18, 16}, {10, 20}, {10, 12}}, {10, 12, 18, 20}},
        PolygonCase{"Diamond", {{10, 16}, {14, 12}, {18, 16}, {14, 20}}, {10, 12, 18, 20}},
        PolygonCase{"SquareWidth8", {{10, 10}, {17, 10}, {17, 17}, {10, 17}}, {10, 10, 17, 17}}),
    [](const ::testing::TestParamInfo<PolygonCase>& info) { return std::string(info.param.Name); });

TEST(DrawContextPixel, PolygonFillsInsideItsOutline) {
    auto cPtr = MakeContext(40, 40);
    QtDrawContext& c = *cPtr;
    const TPoint triangle[] = {{10, 30}, {30, 30}, {20, 10}};
    c.Polygon(triangle, 3);
    EXPECT_EQ(c.GetPixel(20, 25), kFill);
    EXPECT_EQ(c.GetPixel(20, 30), kPen);
    EXPECT_EQ(c.GetPixel(30, 30), kPen);
    EXPECT_EQ(c.GetPixel(31, 30), clWhite);
}

} // namespace

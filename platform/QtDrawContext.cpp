#include "platform/QtDrawContext.h"

#include "platform/FontNames.h"
#include "platform/PngBytes.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace {

QColor ToQColor(TColor c) {
    c = ColorToRGB(c);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromRgb(QRgb rgb) {
    return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRgb ToRgb(TColor c) {
    c = ColorToRGB(c);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

class QtClip : public DrawClip {
public:
    explicit QtClip(QPainterPath p) : Path(std::move(p)) {}
    QPainterPath Path;
};

QImage ToQImage(const TRasterImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB32);
    for (int y = 0; y < image.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width; ++x)
            line[x] = ToRgb(image.Pixels[size_t(y) * size_t(image.Width) + size_t(x)]);
    }
    return out;
}

// Angle of (x, y) around the centre in degrees, counter-clockwise on screen.
double ScreenAngle(double cx, double cy, int x, int y) {
    return std::atan2(-(y - cy), x - cx) * 180.0 / M_PI;
}

QFont MakeQFont(const TFontDesc& desc) {
    QFont font(QString::fromStdString(MappedFontFamily(desc.Name)));
    const int pixels = desc.Height != 0 ? std::abs(desc.Height)
                                        : std::max(1, int(std::lround(desc.Size * 96.0 / 72.0)));
    font.setPixelSize(std::max(1, pixels));
    font.setBold(desc.Style & fsBold);
    font.setItalic(desc.Style & fsItalic);
    font.setUnderline(desc.Style & fsUnderline);
    font.setStrikeOut(desc.Style & fsStrikeOut);
    if (desc.CharSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, desc.CharSpacing);
    return font;
}

} // namespace

struct QtDrawContext::Impl {
    std::unique_ptr<QPainter> Painter;
    // What the painter holds after the last Prepare; Cached is cleared by any
    // other change to the painter so long runs of lines set nothing.
    bool Cached = false;
    TPenDesc CPen;
    TBrushDesc CBrush;
    bool CUsePen = false, CUseBrush = false;
    TColor CBack = clWhite;
    TBackMode CMode = bmOpaque;
    QPainterPath ClipPath;
    bool HasClip = false;
    QFont QFontCache;
};

QtDrawContext::QtDrawContext(int width, int height)
    : D_(std::make_unique<Impl>()),
      Own_(std::max(0, width), std::max(0, height), QImage::Format_RGB32), Target_(&Own_) {
    Own_.fill(Qt::white);
    D_->QFontCache = MakeQFont(Font_);
}

QtDrawContext::QtDrawContext(QImage* target) : D_(std::make_unique<Impl>()), Target_(target) {
    if (Target_->format() != QImage::Format_RGB32)
        *Target_ = Target_->convertToFormat(QImage::Format_RGB32);
    D_->QFontCache = MakeQFont(Font_);
}

QtDrawContext::~QtDrawContext() {
    if (D_->Painter)
        D_->Painter->end();
}

void QtDrawContext::Flush() const {
    if (D_->Painter) {
        D_->Painter->end();
        D_->Painter.reset();
    }
}

std::string QtDrawContext::PngBytes() const {
    Flush();
    return ::PngBytes(*Target_);
}

// Sizes and coordinates are logical pixels; a target with a device pixel
// ratio holds that many pixels per logical one.
int QtDrawContext::Width() const {
    return int(std::lround(Target_->width() / Target_->devicePixelRatio()));
}
int QtDrawContext::Height() const {
    return int(std::lround(Target_->height() / Target_->devicePixelRatio()));
}

// The painter stays open between calls; it is closed before raw pixel writes.
static QPainter& Begin(std::unique_ptr<QPainter>& painter, QImage& image, bool hasClip,
                       const QPainterPath& clip, bool& cached) {
    if (!painter) {
        cached = false;
        painter = std::make_unique<QPainter>(&image);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
        if (hasClip)
            painter->setClipPath(clip);
    }
    return *painter;
}

namespace {

QPen MakeQPen(const TPenDesc& d) {
    if (d.Style == psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(d.Color));
    const bool wide = d.Width >= 2;
    pen.setWidth(wide ? d.Width : 0);
    pen.setCosmetic(!wide);
    // A width-1 line with flat caps leaves out its end pixel, like the desktop.
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    if (wide) {
        cap = d.EndCap == pecRound    ? Qt::RoundCap
              : d.EndCap == pecSquare ? Qt::SquareCap
                                      : Qt::FlatCap;
        join = d.Join == pjRound   ? Qt::RoundJoin
               : d.Join == pjBevel ? Qt::BevelJoin
                                   : Qt::MiterJoin;
    }
    pen.setCapStyle(cap);
    pen.setJoinStyle(join);
    if (d.SmallDots) {
        pen.setWidth(0);
        pen.setDashPattern({1, 1});
        return pen;
    }
    const qreal unit = 1; // dash lengths in pen widths
    switch (d.Style) {
    case psDash:
        pen.setDashPattern({6 * unit, 2 * unit});
        break;
    case psDot:
        pen.setDashPattern({1 * unit, 1 * unit});
        break;
    case psDashDot:
        pen.setDashPattern({6 * unit, 2 * unit, 1 * unit, 2 * unit});
        break;
    case psDashDotDot:
        pen.setDashPattern({6 * unit, 2 * unit, 1 * unit, 2 * unit, 1 * unit, 2 * unit});
        break;
    default:
        break;
    }
    return pen;
}

QBrush MakeQBrush(const TBrushDesc& d) {
    if (d.Bitmap && !d.Bitmap->Empty())
        return QBrush(ToQImage(*d.Bitmap));
    const QColor c = ToQColor(d.Color);
    switch (d.Style) {
    case bsSolid:
        return QBrush(c);
    case bsClear:
        return QBrush(Qt::NoBrush);
    case bsHorizontal:
        return QBrush(c, Qt::HorPattern);
    case bsVertical:
        return QBrush(c, Qt::VerPattern);
    case bsFDiagonal:
        return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal:
        return QBrush(c, Qt::BDiagPattern);
    case bsCross:
        return QBrush(c, Qt::CrossPattern);
    case bsDiagCross:
        return QBrush(c, Qt::DiagCrossPattern);
    }
    return QBrush(c);
}

QPainter::CompositionMode ModeOf(TPenMode mode) {
    switch (mode) {
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmCopy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace

#define PAINTER Begin(D_->Painter, *Target_, D_->HasClip, D_->ClipPath, D_->Cached)

void QtDrawContext::SetPen(const TPenDesc& pen) {
    Pen_ = pen;
}
void QtDrawContext::SetBrush(const TBrushDesc& brush) {
    Brush_ = brush;
}
void QtDrawContext::SetFont(const TFontDesc& font) {
    if (font == Font_)
        return;
    Font_ = font;
    D_->QFontCache = MakeQFont(Font_);
}

// Puts pen, brush, background and mode on the painter for one shape.
template <class Cache>
static QPainter& Prepare(Cache& c, QPainter& p, const TPenDesc& pen, const TBrushDesc& brush,
                         bool usePen, bool useBrush, TColor back, TBackMode mode) {
    if (c.Cached && c.CUsePen == usePen && c.CUseBrush == useBrush && c.CBack == back &&
        c.CMode == mode && (!usePen || c.CPen == pen) && (!useBrush || c.CBrush == brush) &&
        c.CPen.Mode == pen.Mode)
        return p;
    p.setPen(usePen ? MakeQPen(pen) : QPen(Qt::NoPen));
    p.setBrush(useBrush ? MakeQBrush(brush) : QBrush(Qt::NoBrush));
    p.setBackground(QBrush(ToQColor(back)));
    p.setBackgroundMode(mode == bmOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setCompositionMode(ModeOf(pen.Mode));
    c.Cached = true;
    c.CPen = pen;
    c.CBrush = brush;
    c.CUsePen = usePen;
    c.CUseBrush = useBrush;
    c.CBack = back;
    c.CMode = mode;
    return p;
}

void QtDrawContext::MoveTo(int x, int y) {
    PenPos_ = {x, y};
}

namespace {

// A one-pixel line from (x0, y0) up to but not including (x1, y1). Qt's
// cosmetic flat-capped line always leaves out the endpoint with the larger
// coordinate on the major axis; when that is the start, the line is drawn
// with both ends and the end pixel is put back as it was.
// On a scaled target a one-pixel pen is one logical pixel wide, centred on
// the pixel centres, ending where the end pixel begins.
void ScaledSegment(QPainter& p, int x0, int y0, int x1, int y1) {
    const double length = std::hypot(double(x1 - x0), double(y1 - y0));
    const double ux = (x1 - x0) / length / 2, uy = (y1 - y0) / length / 2;
    QPen pen = p.pen();
    pen.setCosmetic(false);
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    p.save();
    p.setPen(pen);
    p.translate(0.5, 0.5);
    p.drawLine(QPointF(x0 - ux, y0 - uy), QPointF(x1 - ux, y1 - uy));
    p.restore();
}

// Strokes an outline with a one-pixel pen on a scaled target (see above).
template <class Draw> void ScaledOutline(QPainter& p, Draw draw) {
    QPen pen = p.pen();
    pen.setCosmetic(false);
    pen.setWidthF(1.0);
    p.save();
    p.setPen(pen);
    p.translate(0.5, 0.5);
    draw();
    p.restore();
}

void CosmeticSegment(QPainter& p, const QImage& image, int x0, int y0, int x1, int y1) {
    if (image.devicePixelRatio() != 1) {
        ScaledSegment(p, x0, y0, x1, y1);
        return;
    }
    const int dx = x1 - x0, dy = y1 - y0;
    const bool reversed = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
    if (!reversed) {
        p.drawLine(x0, y0, x1, y1);
        return;
    }
    const bool inside = image.valid(x1, y1);
    const QRgb before = inside ? image.pixel(x1, y1) : 0;
    QPen pen = p.pen();
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    p.drawLine(x0, y0, x1, y1);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    if (inside) {
        const QPainter::CompositionMode mode = p.compositionMode();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRect(x1, y1, 1, 1), QColor::fromRgb(before));
        p.setCompositionMode(mode);
    }
}

} // namespace

void QtDrawContext::LineTo(int x, int y) {
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, true, false, BackColor_, BackMode_);
    if (Pen_.Style != psClear && !(PenPos_.X == x && PenPos_.Y == y)) {
        if (p.pen().isCosmetic())
            CosmeticSegment(p, *Target_, PenPos_.X, PenPos_.Y, x, y);
        else
            p.drawLine(PenPos_.X, PenPos_.Y, x, y);
    }
    PenPos_ = {x, y};
}

void QtDrawContext::Polyline(const TPoint* points, int count) {
    if (count < 2 || Pen_.Style == psClear)
        return;
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, true, false, BackColor_, BackMode_);
    if (p.pen().isCosmetic()) {
        // Segment by segment, so each leaves out its end like LineTo.
        for (int i = 1; i < count; ++i)
            if (points[i].X != points[i - 1].X || points[i].Y != points[i - 1].Y)
                CosmeticSegment(p, *Target_, points[i - 1].X, points[i - 1].Y, points[i].X,
                                points[i].Y);
        return;
    }
    QPolygon poly(count);
    for (int i = 0; i < count; ++i)
        poly.setPoint(i, points[i].X, points[i].Y);
    p.drawPolyline(poly);
}

void QtDrawContext::Polygon(const TPoint* points, int count) {
    if (count < 2)
        return;
    QPolygon poly(count);
    for (int i = 0; i < count; ++i)
        poly.setPoint(i, points[i].X, points[i].Y);
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, false, true, BackColor_, BackMode_);
    p.drawPolygon(poly, Qt::OddEvenFill);
    if (Pen_.Style == psClear)
        return;
    Prepare(*D_, p, Pen_, Brush_, true, false, BackColor_, BackMode_);
    if (!p.pen().isCosmetic()) {
        p.drawPolygon(poly, Qt::OddEvenFill);
        return;
    }
    // Edge by edge, each from its start pixel: every vertex is covered once,
    // so the right-most and bottom vertices are painted as well.
    for (int i = 0; i < count; ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % count];
        if (a.X != b.X || a.Y != b.Y)
            CosmeticSegment(p, *Target_, a.X, a.Y, b.X, b.Y);
    }
}

void QtDrawContext::Rectangle(int x0, int y0, int x1, int y1) {
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    if (x1 == x0 || y1 == y0)
        return;
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, false, true, BackColor_, BackMode_);
    if (Brush_.Style != bsClear || (Brush_.Bitmap && !Brush_.Bitmap->Empty()))
        p.drawRect(QRect(x0, y0, x1 - x0, y1 - y0));
    if (Pen_.Style != psClear) {
        p.setPen(MakeQPen(Pen_));
        p.setBrush(Qt::NoBrush);
        D_->Cached = false;
        // The outline runs through the last covered pixel.
        if (Target_->devicePixelRatio() != 1 && p.pen().isCosmetic())
            ScaledOutline(p, [&] { p.drawRect(QRectF(x0, y0, x1 - x0 - 1, y1 - y0 - 1)); });
        else
            p.drawRect(QRect(x0, y0, x1 - x0 - 1, y1 - y0 - 1));
    }
}

void QtDrawContext::RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH) {
    RoundedBox(x0, y0, x1, y1, cornerW, cornerH);
}

void QtDrawContext::Ellipse(int x0, int y0, int x1, int y1) {
    RoundedBox(x0, y0, x1, y1, std::abs(x1 - x0), std::abs(y1 - y0));
}

namespace {

// Columns first..last (inclusive) of one row; empty when last < first.
struct Span {
    int First = 0, Last = -1;
};

// The pixels whose centres lie inside the rounded box: one span per row.
// Computing them from the centres keeps the shape symmetric for even and
// odd sizes alike.
std::vector<Span> RoundedSpans(int x0, int y0, int x1, int y1, int cornerW, int cornerH) {
    const double a = std::min(std::abs(cornerW), x1 - x0) / 2.0;
    const double b = std::min(std::abs(cornerH), y1 - y0) / 2.0;
    std::vector<Span> spans(std::size_t(y1 - y0));
    for (int y = y0; y < y1; ++y) {
        const double cy = y + 0.5;
        double dy = 0;
        if (cy < y0 + b)
            dy = y0 + b - cy;
        else if (cy > y1 - b)
            dy = cy - (y1 - b);
        double inset = 0;
        if (b > 0 && dy > 0)
            inset = a - a * std::sqrt(std::max(0.0, 1.0 - (dy / b) * (dy / b)));
        Span& s = spans[std::size_t(y - y0)];
        s.First = int(std::ceil(x0 + inset - 0.5 - 1e-9));
        s.Last = int(std::floor(x1 - inset - 0.5 + 1e-9));
    }
    return spans;
}

} // namespace

void QtDrawContext::RoundedBox(int x0, int y0, int x1, int y1, int cornerW, int cornerH) {
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    if (x1 == x0 || y1 == y0)
        return;
    const std::vector<Span> spans = RoundedSpans(x0, y0, x1, y1, cornerW, cornerH);
    const bool pen = Pen_.Style != psClear;
    const bool brush = Brush_.Style != bsClear || (Brush_.Bitmap && !Brush_.Bitmap->Empty());
    // A one-pixel solid pen is the rim of the pixel set itself; other pens are
    // stroked along the middle of that rim.
    const bool rimPen = pen && Pen_.Width <= 1 && !Pen_.SmallDots &&
                        (Pen_.Style == psSolid || Pen_.Style == psInsideFrame);
    const int rows = y1 - y0;
    auto span = [&](int row) { return row >= 0 && row < rows ? spans[std::size_t(row)] : Span{}; };
    // Inside: covered in the row itself and in both neighbouring rows, and not
    // at either end of the row.
    auto inner = [&](int row) {
        const Span s = span(row), up = span(row - 1), down = span(row + 1);
        Span in{std::max({s.First + 1, up.First, down.First}),
                std::min({s.Last - 1, up.Last, down.Last})};
        if (up.Last < up.First || down.Last < down.First)
            in = Span{};
        return in;
    };
    if (brush) {
        QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, false, true, BackColor_, BackMode_);
        for (int row = 0; row < rows; ++row) {
            const Span s = rimPen ? inner(row) : span(row);
            if (s.Last >= s.First)
                p.drawRect(QRect(s.First, y0 + row, s.Last - s.First + 1, 1));
        }
    }
    if (!pen)
        return;
    if (!rimPen) {
        QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, true, false, BackColor_, BackMode_);
        const QRectF mid(x0 + 0.5, y0 + 0.5, x1 - x0 - 1, y1 - y0 - 1);
        if (cornerW >= x1 - x0 && cornerH >= y1 - y0)
            p.drawEllipse(mid);
        else
            p.drawRoundedRect(mid, cornerW / 2.0, cornerH / 2.0);
        return;
    }
    TBrushDesc ink;
    ink.Color = Pen_.Color;
    QPainter& p = Prepare(*D_, PAINTER, Pen_, ink, false, true, BackColor_, BackMode_);
    for (int row = 0; row < rows; ++row) {
        const Span s = span(row);
        if (s.Last < s.First)
            continue;
        const Span in = inner(row);
        const int y = y0 + row;
        if (in.Last < in.First) {
            p.drawRect(QRect(s.First, y, s.Last - s.First + 1, 1));
            continue;
        }
        p.drawRect(QRect(s.First, y, in.First - s.First, 1));
        p.drawRect(QRect(in.Last + 1, y, s.Last - in.Last, 1));
    }
}

namespace {

// Start angle and counter-clockwise span in 1/16 degree; equal points give a
// full turn.
void PieAngles(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3, int& start,
               int& span) {
    const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
    const double a0 = ScreenAngle(cx, cy, x2, y2);
    const double a1 = ScreenAngle(cx, cy, x3, y3);
    double s = a1 - a0;
    while (s <= 0)
        s += 360.0;
    while (s > 360.0)
        s -= 360.0;
    start = int(std::lround(a0 * 16));
    span = int(std::lround(s * 16));
}

} // namespace

void QtDrawContext::PieOrArc(bool pie, int x0, int y0, int x1, int y1, int x2, int y2, int x3,
                             int y3) {
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    int start = 0, span = 0;
    PieAngles(x0, y0, x1, y1, x2, y2, x3, y3, start, span);
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, true, pie, BackColor_, BackMode_);
    const QRect box(x0, y0, x1 - x0 - 1, y1 - y0 - 1);
    auto draw = [&] {
        if (pie)
            p.drawPie(box, start, span);
        else
            p.drawArc(box, start, span);
    };
    if (Target_->devicePixelRatio() != 1 && p.pen().isCosmetic())
        ScaledOutline(p, draw);
    else
        draw();
}

void QtDrawContext::Pie(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) {
    PieOrArc(true, x0, y0, x1, y1, x2, y2, x3, y3);
}

void QtDrawContext::Arc(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) {
    PieOrArc(false, x0, y0, x1, y1, x2, y2, x3, y3);
}

void QtDrawContext::FillRect(const TRect& rect) {
    TRect r = rect;
    if (r.Right < r.Left)
        std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top)
        std::swap(r.Top, r.Bottom);
    QPainter& p = Prepare(*D_, PAINTER, Pen_, Brush_, false, true, BackColor_, BackMode_);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    D_->Cached = false;
    p.drawRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void QtDrawContext::SetPixel(int x, int y, TColor color) {
    QPainter& p = PAINTER;
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    D_->Cached = false;
    p.fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

TColor QtDrawContext::GetPixel(int x, int y) const {
    const qreal dpr = Target_->devicePixelRatio();
    const int dx = int(std::floor(x * dpr)), dy = int(std::floor(y * dpr));
    if (!Target_->valid(dx, dy))
        return clNone;
    return FromRgb(Target_->pixel(dx, dy));
}

namespace {

// Top-left of the text cell for a reference point and alignment.
QPointF TextOrigin(const QFontMetrics& m, int x, int y, const std::string& text, int align) {
    const int w = m.horizontalAdvance(QString::fromStdString(text));
    double left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - w / 2;
    else if (align & TA_RIGHT)
        left = x - w;
    double top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - m.ascent();
    else if (align & TA_BOTTOM)
        top = y - m.height();
    return {left, top};
}

} // namespace

void QtDrawContext::TextOut(int x, int y, const std::string& text) {
    if (text.empty())
        return;
    QPainter& p = PAINTER;
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    D_->Cached = false;
    p.setFont(D_->QFontCache);
    const QFontMetrics m(D_->QFontCache);
    const QString s = QString::fromStdString(text);
    const QPointF o = TextOrigin(m, 0, 0, text, TextAlign_);
    p.save();
    // The painter may still be opaque from the last shape; the text box is
    // filled here instead.
    p.setBackgroundMode(Qt::TransparentMode);
    p.translate(x, y);
    if (Font_.Orientation != 0)
        p.rotate(-Font_.Orientation / 10.0);
    if (BackMode_ == bmOpaque)
        p.fillRect(QRectF(o.x(), o.y(), m.horizontalAdvance(s), m.height()), ToQColor(BackColor_));
    p.setPen(ToQColor(TextColor_));
    p.drawText(QPointF(o.x(), o.y() + m.ascent()), s);
    p.restore();
}

int QtDrawContext::TextWidth(const std::string& text) const {
    return QFontMetrics(D_->QFontCache).horizontalAdvance(QString::fromStdString(text));
}

int QtDrawContext::TextHeight(const std::string&) const {
    return QFontMetrics(D_->QFontCache).height();
}

namespace {

QPainterPath TextOutline(const QFont& font, int x, int y, const std::string& text, int align,
                         int orientation) {
    const QFontMetrics m(font);
    const QPointF o = TextOrigin(m, 0, 0, text, align);
    QPainterPath path;
    path.addText(QPointF(o.x(), o.y() + m.ascent()), font, QString::fromStdString(text));
    QTransform t;
    t.translate(x, y);
    if (orientation != 0)
        t.rotate(-orientation / 10.0);
    return t.map(path);
}

} // namespace

void QtDrawContext::TextPath(int x, int y, const std::string& text, TTextPathOp op) {
    const QPainterPath path =
        TextOutline(D_->QFontCache, x, y, text, TextAlign_, Font_.Orientation);
    QPainter& p =
        Prepare(*D_, PAINTER, Pen_, Brush_, op != tpFill, op != tpStroke, BackColor_, BackMode_);
    p.drawPath(path);
}

void QtDrawContext::DrawImage(int x, int y, const TRasterImage& image) {
    if (image.Empty())
        return;
    QPainter& p = PAINTER;
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    D_->Cached = false;
    p.drawImage(QPoint(x, y), ToQImage(image));
}

void QtDrawContext::StretchDrawImage(const TRect& rect, const TRasterImage& image) {
    if (image.Empty())
        return;
    QPainter& p = PAINTER;
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    D_->Cached = false;
    p.drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToQImage(image));
}

DrawClipPtr QtDrawContext::Clip() const {
    if (!D_->HasClip)
        return nullptr;
    return std::make_shared<QtClip>(D_->ClipPath);
}

void QtDrawContext::SetClip(const DrawClipPtr& clip) {
    const auto* qc = dynamic_cast<const QtClip*>(clip.get());
    D_->HasClip = qc != nullptr;
    D_->ClipPath = qc ? qc->Path : QPainterPath();
    if (D_->Painter) {
        if (D_->HasClip)
            D_->Painter->setClipPath(D_->ClipPath);
        else
            D_->Painter->setClipping(false);
    }
}

static void Narrow(QPainterPath& clip, bool& hasClip, const QPainterPath& shape) {
    clip = hasClip ? clip.intersected(shape) : shape;
    hasClip = true;
}

#define APPLY_CLIP()                                                                               \
    do {                                                                                           \
        if (D_->Painter)                                                                           \
            D_->Painter->setClipPath(D_->ClipPath);                                                \
    } while (0)

void QtDrawContext::IntersectClipRect(const TRect& rect) {
    QPainterPath s;
    s.addRect(QRectF(rect.Left, rect.Top, rect.Width(), rect.Height()).normalized());
    Narrow(D_->ClipPath, D_->HasClip, s);
    APPLY_CLIP();
}

void QtDrawContext::IntersectClipEllipse(const TRect& rect) {
    QPainterPath s;
    s.addEllipse(QRectF(rect.Left, rect.Top, rect.Width(), rect.Height()).normalized());
    Narrow(D_->ClipPath, D_->HasClip, s);
    APPLY_CLIP();
}

void QtDrawContext::IntersectClipRoundRect(const TRect& rect, int cornerW, int cornerH) {
    QPainterPath s;
    s.addRoundedRect(QRectF(rect.Left, rect.Top, rect.Width(), rect.Height()).normalized(),
                     cornerW / 2.0, cornerH / 2.0);
    Narrow(D_->ClipPath, D_->HasClip, s);
    APPLY_CLIP();
}

void QtDrawContext::IntersectClipPolygon(const TPoint* points, int count) {
    QPolygonF poly;
    for (int i = 0; i < count; ++i)
        poly << QPointF(points[i].X, points[i].Y);
    QPainterPath s;
    s.addPolygon(poly);
    s.closeSubpath();
    s.setFillRule(Qt::OddEvenFill);
    Narrow(D_->ClipPath, D_->HasClip, s);
    APPLY_CLIP();
}

void QtDrawContext::IntersectClipTextPath(int x, int y, const std::string& text, bool widen) {
    QPainterPath s = TextOutline(D_->QFontCache, x, y, text, TextAlign_, Font_.Orientation);
    if (widen) {
        QPainterPathStroker stroker;
        stroker.setWidth(std::max(1, Pen_.Width));
        s = stroker.createStroke(s).united(s);
    }
    Narrow(D_->ClipPath, D_->HasClip, s);
    APPLY_CLIP();
}

std::unique_ptr<DrawContext> QtDrawContext::CreateBitmap(int width, int height) const {
    auto bitmap = std::make_unique<QtDrawContext>(width, height);
    // A buffer has the pixels of the picture it is copied into.
    const qreal dpr = Target_->devicePixelRatio();
    if (dpr != 1) {
        bitmap->Own_ = QImage(int(std::ceil(std::max(0, width) * dpr)),
                              int(std::ceil(std::max(0, height) * dpr)), QImage::Format_RGB32);
        bitmap->Own_.setDevicePixelRatio(dpr);
        bitmap->Own_.fill(Qt::white);
    }
    return bitmap;
}

void QtDrawContext::CopyFrom(const DrawContext& source, const TRect& srcRect, int x, int y) {
    if (const auto* q = dynamic_cast<const QtDrawContext*>(&source)) {
        if (q->D_->Painter)
            q->Flush();
        QPainter& p = PAINTER;
        p.setCompositionMode(QPainter::CompositionMode_Source);
        D_->Cached = false;
        const qreal sd = q->Image().devicePixelRatio();
        if (sd == 1 && Target_->devicePixelRatio() == 1)
            p.drawImage(QPoint(x, y), q->Image(),
                        QRect(srcRect.Left, srcRect.Top, srcRect.Width(), srcRect.Height()));
        else
            p.drawImage(QRectF(x, y, srcRect.Width(), srcRect.Height()), q->Image(),
                        QRectF(srcRect.Left * sd, srcRect.Top * sd, srcRect.Width() * sd,
                               srcRect.Height() * sd));
        // A copy is the last step of a repaint: leave the image quiescent.
        Flush();
        return;
    }
    std::vector<TColor> pixels;
    source.ReadPixels(srcRect, pixels);
    WritePixels(TRect{x, y, x + srcRect.Width(), y + srcRect.Height()}, pixels);
}

void QtDrawContext::ReadPixels(const TRect& rect, std::vector<TColor>& out) const {
    out.assign(size_t(std::max(0, rect.Width())) * size_t(std::max(0, rect.Height())), clWhite);
    size_t i = 0;
    const qreal dpr = Target_->devicePixelRatio();
    if (dpr != 1) {
        // One value per logical pixel: the first of its device pixels.
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x, ++i) {
                const int dx = int(std::floor(x * dpr)), dy = int(std::floor(y * dpr));
                if (Target_->valid(dx, dy))
                    out[i] = FromRgb(Target_->pixel(dx, dy));
            }
        return;
    }
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const bool rowOk = y >= 0 && y < Target_->height();
        const auto* line =
            rowOk ? reinterpret_cast<const QRgb*>(Target_->constScanLine(y)) : nullptr;
        for (int x = rect.Left; x < rect.Right; ++x, ++i)
            if (line && x >= 0 && x < Target_->width())
                out[i] = FromRgb(line[x]);
    }
}

void QtDrawContext::WritePixels(const TRect& rect, const std::vector<TColor>& pixels) {
    if (D_->Painter)
        Flush();
    size_t i = 0;
    const qreal dpr = Target_->devicePixelRatio();
    if (dpr != 1) {
        // Each value covers all device pixels of its logical pixel.
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right && i < pixels.size(); ++x, ++i) {
                const QRgb rgb = ToRgb(pixels[i]);
                for (int dy = int(std::floor(y * dpr)); dy < int(std::floor((y + 1) * dpr)); ++dy)
                    for (int dx = int(std::floor(x * dpr)); dx < int(std::floor((x + 1) * dpr));
                         ++dx)
                        if (Target_->valid(dx, dy))
                            reinterpret_cast<QRgb*>(Target_->scanLine(dy))[dx] = rgb;
            }
        return;
    }
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const bool rowOk = y >= 0 && y < Target_->height();
        auto* line = rowOk ? reinterpret_cast<QRgb*>(Target_->scanLine(y)) : nullptr;
        for (int x = rect.Left; x < rect.Right; ++x, ++i)
            if (line && x >= 0 && x < Target_->width() && i < pixels.size())
                line[x] = ToRgb(pixels[i]);
    }
}

#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartBlend.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarksGradient.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr TColor clInfoBk = SystemColor(24);
constexpr int RoundCorner = 16;
constexpr std::size_t MaxLineLength = 255;

int NormalAngle(int angle) {
    return ((angle % 360) + 360) % 360;
}

bool Intersect(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// The four corners of rect turned by angle degrees (counter-clockwise on screen) about
// its centre.
std::array<TPoint, 4> RotatedCorners(const TRect& rect, int angle) {
    const double a = angle * ChartPiStep;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const double cx = (rect.Left + rect.Right) / 2.0;
    const double cy = (rect.Top + rect.Bottom) / 2.0;
    const std::array<TPoint, 4> corners = {
        TPoint{rect.Left, rect.Top}, TPoint{rect.Right, rect.Top}, TPoint{rect.Right, rect.Bottom},
        TPoint{rect.Left, rect.Bottom}};
    std::array<TPoint, 4> out;
    for (std::size_t i = 0; i < 4; ++i) {
        const double dx = corners[i].X - cx;
        const double dy = corners[i].Y - cy;
        out[i] = TPoint{ChartRound(cx + dx * c + dy * s), ChartRound(cy - dx * s + dy * c)};
    }
    return out;
}

TRect BoundsOf(const std::array<TPoint, 4>& p) {
    TRect r{p[0].X, p[0].Y, p[0].X, p[0].Y};
    for (const TPoint& q : p) {
        r.Left = std::min(r.Left, q.X);
        r.Top = std::min(r.Top, q.Y);
        r.Right = std::max(r.Right, q.X);
        r.Bottom = std::max(r.Bottom, q.Y);
    }
    return r;
}

TCustomChartPanel* ChartOf(TChartSeries* series) {
    return series ? series->ParentChart() : nullptr;
}

} // namespace

TSeriesMarks::TSeriesMarks(TChartSeries* series)
    : TChartCustomShape(ChartOf(series)), Series_(series),
      Callout_(std::make_unique<TMarksCallout>(series)) {
    SetVisible(false);
    SetColor(clInfoBk);
    Shadow().SetColor(clGray);
    Shadow().SetSize(1);
    Gradient().Assign(TSeriesMarksGradient());
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
    if (StoreChanged(Style_, value))
        Repaint();
}
void TSeriesMarks::SetAngle(int value) {
    if (StoreChanged(Angle_, value))
        Repaint();
}
void TSeriesMarks::SetClip(bool value) {
    if (StoreChanged(Clip_, value))
        Repaint();
}
void TSeriesMarks::SetDrawEvery(int value) {
    if (StoreChanged(DrawEvery_, value))
        Repaint();
}
void TSeriesMarks::SetMultiLine(bool value) {
    if (StoreChanged(MultiLine_, value))
        Repaint();
}

TChartPen& TSeriesMarks::Arrow() const {
    return Callout_->Arrow();
}
int TSeriesMarks::ArrowLength() const {
    return Callout_->Length();
}
void TSeriesMarks::SetArrowLength(int value) {
    Callout_->SetLength(value);
}

// --- positions and items ------------------------------------------------------------

TSeriesMarkPosition* TSeriesMarks::Position(int valueIndex) {
    const auto at = static_cast<std::size_t>(valueIndex);
    if (valueIndex < 0 || at >= Positions_.size() || !Positions_[at])
        return nullptr;
    return &*Positions_[at];
}

void TSeriesMarks::SetCustomPosition(int valueIndex, const TSeriesMarkPosition& position) {
    if (valueIndex < 0)
        return;
    const auto at = static_cast<std::size_t>(valueIndex);
    if (Positions_.size() <= at)
        Positions_.resize(at + 1);
    Positions_[at] = position;
    Positions_[at]->Custom = true;
    Repaint();
}

TChartCustomShape& TSeriesMarks::MarkItem(int valueIndex) const {
    const auto at = static_cast<std::size_t>(valueIndex);
    if (valueIndex >= 0 && at < Items_.size() && Items_[at])
        return *Items_[at];
    return const_cast<TSeriesMarks&>(*this);
}

void TSeriesMarks::UsePosition(int valueIndex, TSeriesMarkPosition& position) {
    if (valueIndex < 0)
        return;
    const auto at = static_cast<std::size_t>(valueIndex);
    if (Positions_.size() <= at)
        Positions_.resize(at + 1);
    std::optional<TSeriesMarkPosition>& stored = Positions_[at];
    if (stored && stored->Custom) {
        const TPoint computedFrom = position.ArrowFrom;
        const bool keepFrom = position.ArrowFix;
        position = *stored;
        if (keepFrom)
            position.ArrowFrom = computedFrom;
    } else {
        stored = position;
    }
}

void TSeriesMarks::ResetPositions() {
    Positions_.clear();
    Repaint();
}

void TSeriesMarks::Clear() {
    Positions_.clear();
    Items_.clear();
}

void TSeriesMarks::DeletePosition(int valueIndex) {
    const auto at = static_cast<std::size_t>(valueIndex);
    if (valueIndex < 0)
        return;
    if (at < Positions_.size())
        Positions_.erase(Positions_.begin() + static_cast<std::ptrdiff_t>(at));
    if (at < Items_.size())
        Items_.erase(Items_.begin() + static_cast<std::ptrdiff_t>(at));
}

// --- geometry -----------------------------------------------------------------------

std::vector<std::string> TSeriesMarks::SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = text.find(ChartLineSeparator, start);
        std::string line =
            text.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
        if (!lines.empty() && line.size() > MaxLineLength)
            line.resize(MaxLineLength);
        lines.push_back(std::move(line));
        if (sep == std::string::npos)
            break;
        start = sep + 1;
    }
    return lines;
}

void TSeriesMarks::CalcBoxSize(const std::string& text, int& width, int& height) const {
    width = 0;
    height = 0;
    TChartCanvas3D* canvas = Series_ ? Series_->ParentCanvas() : nullptr;
    if (!canvas)
        return;
    const std::vector<std::string> lines = SplitLines(text);
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, canvas->TextWidth(line));
    width = widest + canvas->TextWidth("W");
    height = static_cast<int>(lines.size()) * canvas->FontHeight();
    if (Frame().Visible()) {
        width += 2 * Frame().Width();
        height += 2 * Frame().Width();
    } else {
        height += 1;
    }
}

void TSeriesMarks::ConvertTo2D(const TSeriesMarkPosition& position, TPoint& point) const {
    point = position.LeftTop;
    TCustomAxisPanel* chart = Series_ ? Series_->ParentChart() : nullptr;
    if (!chart || !chart->View3D())
        return;
    const TPoint p =
        chart->Canvas().Calculate3DPosition(position.ArrowTo.X, position.ArrowTo.Y, ZPosition);
    point.X = p.X + (position.LeftTop.X - position.ArrowTo.X);
    point.Y = p.Y + (position.LeftTop.Y - position.ArrowTo.Y);
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& position) const {
    const int distance = Callout_->Distance();
    const int length = Callout_->Length() + distance;
    position.LeftTop.Y -= length;
    position.ArrowTo.Y -= length;
    position.ArrowFrom.Y -= distance;
}

TRect TSeriesMarks::OverlapRect(const TSeriesMarkPosition& position) const {
    TPoint leftTop;
    ConvertTo2D(position, leftTop);
    TRect r{leftTop.X, leftTop.Y, leftTop.X + position.Width, leftTop.Y + position.Height};
    if (Frame().Visible()) {
        r.Right += Frame().Width();
        r.Bottom += Frame().Width();
    }
    const int h = Shadow().HorizSize();
    const int v = Shadow().VertSize();
    (h > 0 ? r.Right : r.Left) += h;
    (v > 0 ? r.Bottom : r.Top) += v;
    return r;
}

void TSeriesMarks::AntiOverlap(int firstIndex, int valueIndex, TSeriesMarkPosition& position) {
    const TRect r = OverlapRect(position);
    const int last = std::min(valueIndex, static_cast<int>(Positions_.size()));
    for (int j = std::max(0, firstIndex); j < last; ++j) {
        const std::optional<TSeriesMarkPosition>& other = Positions_[static_cast<std::size_t>(j)];
        if (!other)
            continue;
        const TRect r2 = OverlapRect(*other);
        if (!Intersect(r, r2))
            continue;
        const int dy = r.Top < r2.Top ? -(r.Bottom - r2.Top) : r2.Bottom - r.Top;
        position.LeftTop.Y += dy;
        position.ArrowTo.Y += dy;
    }
}

int TSeriesMarks::Clicked(int x, int y) const {
    TCustomAxisPanel* chart = Series_ ? Series_->ParentChart() : nullptr;
    if (chart && chart->View3D())
        chart->Canvas().Calculate2DPosition(x, y, ZPosition);
    const int every = std::max(1, DrawEvery_);
    for (std::size_t i = 0; i < Positions_.size(); ++i) {
        if (static_cast<int>(i) % every != 0 || !Positions_[i])
            continue;
        const TRect r = Positions_[i]->Bounds();
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

// --- drawing ------------------------------------------------------------------------

void TSeriesMarks::InternalDraw(int valueIndex, TColor color, TSeriesMarkPosition& position,
                                const std::string& text) {
    TChartCanvas3D* canvas = Series_ ? Series_->ParentCanvas() : nullptr;
    if (!canvas)
        return;
    UsePosition(valueIndex, position);
    if (Callout_->Visible() || Callout_->Arrow().Visible())
        Callout_->Draw(color, position.ArrowFrom, ZPosition, position.ArrowTo);
    if (Transparent()) {
        canvas->SetBrushStyle(bsClear);
        canvas->SetBackMode(cbmTransparent);
    } else {
        canvas->AssignBrush(Brush(), Color());
    }
    canvas->AssignVisiblePen(Frame());
    TPoint leftTop;
    ConvertTo2D(position, leftTop);
    const TRect box{leftTop.X, leftTop.Y, leftTop.X + position.Width, leftTop.Y + position.Height};
    DrawBox(*canvas, box, color);
    canvas->SetBrushStyle(bsClear);
    canvas->SetBackMode(cbmTransparent);
    canvas->SetTextAlign(TA_CENTER | TA_TOP);
    TRect textRect = box;
    textRect.Left += 2;
    DrawText(textRect, text);
}

void TSeriesMarks::DrawBox(TChartCanvas3D& canvas, const TRect& rect, TColor /*pointColor*/) {
    if (Transparent())
        return;
    const int angle = NormalAngle(Angle_);
    const std::array<TPoint, 4> corners = RotatedCorners(rect, angle);
    std::unique_ptr<TChartBlend> blend;
    if (Transparency() > 0)
        blend = canvas.BeginBlending(angle == 0 ? rect : BoundsOf(corners), Transparency());

    const int frameWidth = Frame().Visible() ? Frame().Width() : 0;
    if (Shadow().Size() > 0 && Brush().Style() != bsClear) {
        int h = Shadow().HorizSize();
        int v = Shadow().VertSize();
        if (frameWidth > 0 && std::max(h, v) > 0) {
            h += frameWidth;
            v += frameWidth;
        }
        const TRect moved{rect.Left + h, rect.Top + v, rect.Right + h, rect.Bottom + v};
        if (Shadow().PrepareCanvas(canvas, moved)) {
            if (angle == 0) {
                canvas.Rectangle(moved);
            } else {
                std::array<TPoint, 4> shifted = corners;
                for (TPoint& p : shifted) {
                    p.X += h;
                    p.Y += v;
                }
                canvas.Polygon(shifted.data(), 3);
            }
            Shadow().FinishBlending(canvas);
        }
    }

    const int round = ShapeStyle() == fosRoundRectangle ? RoundCorner : 0;
    if (Gradient().Visible()) {
        if (angle == 0)
            Gradient().Draw(canvas, rect, round);
        else
            Gradient().Draw(canvas, corners.data());
        canvas.SetBrushStyle(bsClear);
    } else {
        canvas.AssignBrush(Brush(), Color());
    }
    canvas.AssignVisiblePen(Frame());
    if (angle != 0)
        canvas.Polygon(corners.data(), 3);
    else if (round > 0)
        canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, round, round);
    else
        canvas.Rectangle(rect);

    if (angle == 0 && Bevel() != bvNone) {
        TRect inner = rect;
        const TColor top = Bevel() == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor bottom = Bevel() == bvLowered ? clBtnHighlight : clBtnShadow;
        canvas.Frame3D(inner, top, bottom, BevelWidth());
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

void TSeriesMarks::DrawText(const TRect& rect, const std::string& text) {
    TChartCanvas3D* canvas = Series_ ? Series_->ParentCanvas() : nullptr;
    if (!canvas)
        return;
    const std::vector<std::string> lines = SplitLines(text);
    const int h = canvas->FontHeight();
    const int cx = (rect.Left + rect.Right) / 2;
    const int cy = (rect.Top + rect.Bottom) / 2;
    const int frameWidth = Frame().Visible() ? Frame().Width() : 0;
    const int angle = NormalAngle(Angle_);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int line = static_cast<int>(k);
        if (angle == 0) {
            canvas->TextOut(cx, rect.Top + line * h + frameWidth, lines[k]);
        } else {
            const double a = angle * ChartPiStep;
            const double d = line * h + cy - rect.Bottom;
            int x = cx + ChartRound(d * std::sin(a));
            if (angle == 90)
                x += 2;
            const int y = cy + ChartRound(d * std::cos(a));
            canvas->RotateLabel(x, y, lines[k], angle);
        }
    }
}

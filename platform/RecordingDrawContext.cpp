#include "platform/RecordingDrawContext.h"

#include <sstream>

namespace {

// Clip state of a recording without a target: what was intersected, in order.
class RecordedClip : public DrawClip {
public:
    explicit RecordedClip(std::vector<std::string> steps) : Steps(std::move(steps)) {}
    std::vector<std::string> Steps;
};

// Wraps a target's clip so that both sides restore together.
class ForwardedClip : public DrawClip {
public:
    explicit ForwardedClip(DrawClipPtr inner) : Inner(std::move(inner)) {}
    DrawClipPtr Inner;
};

} // namespace

std::string TDrawCall::ToString() const {
    std::ostringstream out;
    out << Op;
    for (size_t i = 0; i < Args.size(); ++i)
        out << (i == 0 ? " " : ",") << Args[i];
    for (const TPoint& p : Points)
        out << " (" << p.X << "," << p.Y << ")";
    if (!Text.empty())
        out << " \"" << Text << "\"";
    return out.str();
}

RecordingDrawContext::RecordingDrawContext(int width, int height)
    : Width_(width), Height_(height) {}

RecordingDrawContext::RecordingDrawContext(DrawContext* target)
    : Target_(target), Width_(target ? target->Width() : 0),
      Height_(target ? target->Height() : 0) {
    if (Target_) {
        Pen_ = Target_->Pen();
        Brush_ = Target_->Brush();
        Font_ = Target_->Font();
        TextColor_ = Target_->TextColor();
        BackColor_ = Target_->BackColor();
        BackMode_ = Target_->BackMode();
        TextAlign_ = Target_->TextAlign();
    }
}

RecordingDrawContext::~RecordingDrawContext() = default;

std::vector<TDrawCall> RecordingDrawContext::CallsOf(const std::string& op) const {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : Calls_)
        if (c.Op == op)
            out.push_back(c);
    return out;
}

TDrawCall& RecordingDrawContext::Record(const char* op, std::initializer_list<int> args) {
    TDrawCall& c = Calls_.emplace_back();
    c.Op = op;
    c.Args = args;
    c.Pen = Pen_;
    c.Brush = Brush_;
    c.Font = Font_;
    c.TextColor = TextColor_;
    c.BackColor = BackColor_;
    c.BackMode = BackMode_;
    c.TextAlign = TextAlign_;
    c.Clipped = Clip_ != nullptr;
    return c;
}

int RecordingDrawContext::Width() const {
    return Width_;
}
int RecordingDrawContext::Height() const {
    return Height_;
}

void RecordingDrawContext::SetPen(const TPenDesc& pen) {
    Pen_ = pen;
    if (Target_)
        Target_->SetPen(pen);
}
void RecordingDrawContext::SetBrush(const TBrushDesc& brush) {
    Brush_ = brush;
    if (Target_)
        Target_->SetBrush(brush);
}
void RecordingDrawContext::SetFont(const TFontDesc& font) {
    Font_ = font;
    if (Target_)
        Target_->SetFont(font);
}
void RecordingDrawContext::SetTextColor(TColor color) {
    TextColor_ = color;
    if (Target_)
        Target_->SetTextColor(color);
}
void RecordingDrawContext::SetBackColor(TColor color) {
    BackColor_ = color;
    if (Target_)
        Target_->SetBackColor(color);
}
void RecordingDrawContext::SetBackMode(TBackMode mode) {
    BackMode_ = mode;
    if (Target_)
        Target_->SetBackMode(mode);
}
void RecordingDrawContext::SetTextAlign(int align) {
    TextAlign_ = align;
    if (Target_)
        Target_->SetTextAlign(align);
}

void RecordingDrawContext::MoveTo(int x, int y) {
    Record("MoveTo", {x, y});
    PenPos_ = {x, y};
    if (Target_)
        Target_->MoveTo(x, y);
}

void RecordingDrawContext::LineTo(int x, int y) {
    Record("LineTo", {PenPos_.X, PenPos_.Y, x, y});
    PenPos_ = {x, y};
    if (Target_)
        Target_->LineTo(x, y);
}

void RecordingDrawContext::Polyline(const TPoint* points, int count) {
    Record("Polyline", {}).Points.assign(points, points + std::max(0, count));
    if (Target_)
        Target_->Polyline(points, count);
}

void RecordingDrawContext::Polygon(const TPoint* points, int count) {
    Record("Polygon", {}).Points.assign(points, points + std::max(0, count));
    if (Target_)
        Target_->Polygon(points, count);
}

void RecordingDrawContext::Rectangle(int x0, int y0, int x1, int y1) {
    Record("Rectangle", {x0, y0, x1, y1});
    if (Target_)
        Target_->Rectangle(x0, y0, x1, y1);
}

void RecordingDrawContext::RoundRect(int x0, int y0, int x1, int y1, int cornerW, int cornerH) {
    Record("RoundRect", {x0, y0, x1, y1, cornerW, cornerH});
    if (Target_)
        Target_->RoundRect(x0, y0, x1, y1, cornerW, cornerH);
}

void RecordingDrawContext::Ellipse(int x0, int y0, int x1, int y1) {
    Record("Ellipse", {x0, y0, x1, y1});
    if (Target_)
        Target_->Ellipse(x0, y0, x1, y1);
}

void RecordingDrawContext::Pie(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) {
    Record("Pie", {x0, y0, x1, y1, x2, y2, x3, y3});
    if (Target_)
        Target_->Pie(x0, y0, x1, y1, x2, y2, x3, y3);
}

void RecordingDrawContext::Arc(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) {
    Record("Arc", {x0, y0, x1, y1, x2, y2, x3, y3});
    if (Target_)
        Target_->Arc(x0, y0, x1, y1, x2, y2, x3, y3);
}

void RecordingDrawContext::FillRect(const TRect& rect) {
    Record("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (Target_)
        Target_->FillRect(rect);
}

void RecordingDrawContext::SetPixel(int x, int y, TColor color) {
    Record("SetPixel", {x, y, color});
    if (Target_)
        Target_->SetPixel(x, y, color);
}

TColor RecordingDrawContext::GetPixel(int x, int y) const {
    return Target_ ? Target_->GetPixel(x, y) : clWhite;
}

void RecordingDrawContext::TextOut(int x, int y, const std::string& text) {
    Record("TextOut", {x, y}).Text = text;
    if (Target_)
        Target_->TextOut(x, y, text);
}

int RecordingDrawContext::TextWidth(const std::string& text) const {
    if (Target_)
        return Target_->TextWidth(text);
    return int(text.size()) * CharWidth + Font_.CharSpacing * int(text.size());
}

int RecordingDrawContext::TextHeight(const std::string& text) const {
    if (Target_)
        return Target_->TextHeight(text);
    return Font_.Height != 0 ? std::abs(Font_.Height) : Font_.Size * 4 / 3;
}

void RecordingDrawContext::TextPath(int x, int y, const std::string& text, TTextPathOp op) {
    Record("TextPath", {x, y, int(op)}).Text = text;
    if (Target_)
        Target_->TextPath(x, y, text, op);
}

void RecordingDrawContext::DrawImage(int x, int y, const TRasterImage& image) {
    Record("DrawImage", {x, y, image.Width, image.Height});
    if (Target_)
        Target_->DrawImage(x, y, image);
}

void RecordingDrawContext::StretchDrawImage(const TRect& rect, const TRasterImage& image) {
    Record("StretchDrawImage", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (Target_)
        Target_->StretchDrawImage(rect, image);
}

DrawClipPtr RecordingDrawContext::Clip() const {
    return Clip_;
}

void RecordingDrawContext::SetClip(const DrawClipPtr& clip) {
    Record("SetClip", {clip ? 1 : 0});
    Clip_ = clip;
    if (Target_) {
        const auto* f = dynamic_cast<const ForwardedClip*>(clip.get());
        Target_->SetClip(f ? f->Inner : nullptr);
    }
}

namespace {

DrawClipPtr NarrowedClip(const DrawClipPtr& current, DrawContext* target, const std::string& step) {
    if (target)
        return std::make_shared<ForwardedClip>(target->Clip());
    std::vector<std::string> steps;
    if (const auto* r = dynamic_cast<const RecordedClip*>(current.get()))
        steps = r->Steps;
    steps.push_back(step);
    return std::make_shared<RecordedClip>(std::move(steps));
}

} // namespace

void RecordingDrawContext::IntersectClipRect(const TRect& rect) {
    const TDrawCall& c =
        Record("IntersectClipRect", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (Target_)
        Target_->IntersectClipRect(rect);
    Clip_ = NarrowedClip(Clip_, Target_, c.ToString());
}

void RecordingDrawContext::IntersectClipEllipse(const TRect& rect) {
    const TDrawCall& c =
        Record("IntersectClipEllipse", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (Target_)
        Target_->IntersectClipEllipse(rect);
    Clip_ = NarrowedClip(Clip_, Target_, c.ToString());
}

void RecordingDrawContext::IntersectClipRoundRect(const TRect& rect, int cornerW, int cornerH) {
    const TDrawCall& c = Record("IntersectClipRoundRect",
                                {rect.Left, rect.Top, rect.Right, rect.Bottom, cornerW, cornerH});
    if (Target_)
        Target_->IntersectClipRoundRect(rect, cornerW, cornerH);
    Clip_ = NarrowedClip(Clip_, Target_, c.ToString());
}

void RecordingDrawContext::IntersectClipPolygon(const TPoint* points, int count) {
    TDrawCall& c = Record("IntersectClipPolygon", {});
    c.Points.assign(points, points + std::max(0, count));
    const std::string step = c.ToString();
    if (Target_)
        Target_->IntersectClipPolygon(points, count);
    Clip_ = NarrowedClip(Clip_, Target_, step);
}

void RecordingDrawContext::IntersectClipTextPath(int x, int y, const std::string& text,
                                                 bool widen) {
    TDrawCall& c = Record("IntersectClipTextPath", {x, y, widen ? 1 : 0});
    c.Text = text;
    const std::string step = c.ToString();
    if (Target_)
        Target_->IntersectClipTextPath(x, y, text, widen);
    Clip_ = NarrowedClip(Clip_, Target_, step);
}

std::unique_ptr<DrawContext> RecordingDrawContext::CreateBitmap(int width, int height) const {
    if (!Target_)
        return std::make_unique<RecordingDrawContext>(width, height);
    auto rec = std::make_unique<RecordingDrawContext>(nullptr);
    rec->OwnedTarget_ = Target_->CreateBitmap(width, height);
    rec->Target_ = rec->OwnedTarget_.get();
    rec->Width_ = width;
    rec->Height_ = height;
    return rec;
}

void RecordingDrawContext::CopyFrom(const DrawContext& source, const TRect& srcRect, int x, int y) {
    Record("CopyFrom", {srcRect.Left, srcRect.Top, srcRect.Right, srcRect.Bottom, x, y});
    if (!Target_)
        return;
    if (const auto* rec = dynamic_cast<const RecordingDrawContext*>(&source); rec && rec->Target_)
        Target_->CopyFrom(*rec->Target_, srcRect, x, y);
    else
        Target_->CopyFrom(source, srcRect, x, y);
}

void RecordingDrawContext::ReadPixels(const TRect& rect, std::vector<TColor>& out) const {
    if (Target_) {
        Target_->ReadPixels(rect, out);
        return;
    }
    out.assign(size_t(std::max(0, rect.Width())) * size_t(std::max(0, rect.Height())), clWhite);
}

void RecordingDrawContext::WritePixels(const TRect& rect, const std::vector<TColor>& pixels) {
    Record("WritePixels", {rect.Left, rect.Top, rect.Right, rect.Bottom});
    if (Target_)
        Target_->WritePixels(rect, pixels);
}

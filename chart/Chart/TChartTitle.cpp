#include "chart/Chart/TChartTitle.h"

#include "chart/Chart/TCustomChart.h"
#include "chart/Chart/TitleLayout.h"
#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"

#include <algorithm>

TChartTitle::TChartTitle(TCustomChart* chart, bool isFoot)
    : TChartCustomShape(chart), Chart_(chart), IsFoot_(isFoot) {
    SetTransparent(true);
    if (isFoot) {
        Font().SetColor(clRed);
        Font().SetStyle(fsItalic);
    } else {
        Font().SetColor(clBlue);
    }
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
    if (Text_ == lines)
        return;
    Text_ = lines;
    Repaint();
}

void TChartTitle::SetCaption(const std::string& text) {
    std::vector<std::string> lines;
    if (!text.empty()) {
        lines.emplace_back();
        for (char ch : text) {
            if (ch == '\n')
                lines.emplace_back();
            else if (ch != '\r')
                lines.back() += ch;
        }
    }
    SetText(lines);
}

std::string TChartTitle::Caption() const {
    std::string out;
    for (std::size_t i = 0; i < Text_.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += Text_[i];
    }
    return out;
}

bool TChartTitle::Clicked(int x, int y) const {
    return Visible() && PointInRect(ShapeBounds, x, y);
}

void TChartTitle::DrawTitle() {
    if (!Visible() || Text_.empty())
        return;
    TChartCanvas3D& canvas = Chart_->Canvas();

    TTitleMeasure m;
    m.IsFoot = IsFoot_;
    m.CustomPosition = CustomPosition_;
    m.Position = {Left_, Top_};
    m.ChartRect = Chart_->ChartRect;
    // Room the frame or bevel takes around the text.
    m.FrameWidth = Frame().Visible() && Frame().Color() != clDefault ? Frame().Width() : 0;
    if (Bevel() != bvNone)
        m.FrameWidth = BevelWidth();
    canvas.AssignFont(Font());
    canvas.SetTextAlign(TA_LEFT);
    m.Lines = static_cast<int>(Text_.size());
    m.LineHeight = canvas.FontHeight();
    m.AdjustFrame = AdjustFrame_;
    m.Alignment = Alignment_;
    m.Padding = canvas.TextWidth("W");
    if (AdjustFrame_)
        for (const std::string& line : Text_)
            m.Widest = std::max(m.Widest, canvas.TextWidth(line));

    // Remember the box for hit tests, then draw frame and background.
    const TRect box = TitleBox(m);
    ShapeBounds = box;
    DrawShape(canvas, box);

    canvas.AssignFont(Font());
    canvas.SetTextAlign(TA_LEFT);
    canvas.SetBackMode(cbmTransparent);
    for (int i = 0; i < m.Lines; ++i) {
        const std::string& line = Text_[static_cast<std::size_t>(i)];
        const TPoint at = TitleLineOrigin(m, box, i, canvas.TextWidth(line));
        canvas.TextOut(at.X, at.Y, line);
    }

    // A docked title takes its height off the chart rectangle.
    if (CustomPosition_)
        return;
    Chart_->ChartRect = ChartRectAfterTitle(m, box, Transparent() ? 0 : Shadow().VertSize());
    Chart_->RecalcWidthHeight();
}

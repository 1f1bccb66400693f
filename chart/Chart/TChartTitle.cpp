#include "chart/Chart/TChartTitle.h"

#include "chart/Chart/TCustomChart.h"
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

    // Room the frame or bevel takes around the text.
    int frameWidth = Frame().Visible() && Frame().Color() != clDefault ? Frame().Width() : 0;
    if (Bevel() != bvNone)
        frameWidth = BevelWidth();

    // Start from the chart rectangle unless the title is placed by hand.
    TRect box{Left_, Top_, Left_, Top_};
    if (!CustomPosition_) {
        box = Chart_->ChartRect;
        if (!IsFoot_)
            box.Top += frameWidth;
    }

    // Line height comes from the title font.
    canvas.AssignFont(Font());
    canvas.SetTextAlign(TA_LEFT);
    const int lineHeight = canvas.FontHeight();
    const int lines = static_cast<int>(Text_.size());

    // A foot grows upward from the bottom, a title downward from the top.
    if (!IsFoot_ || CustomPosition_)
        box.Bottom = box.Top + lines * lineHeight;
    else
        box.Top = box.Bottom - lines * lineHeight;

    // The frame sits outside the text box.
    if (!CustomPosition_) {
        box.Left -= frameWidth;
        box.Top -= frameWidth;
        box.Right += frameWidth;
        box.Bottom += frameWidth;
    }

    // An adjusted frame hugs the widest line (plus one "W" of padding).
    const int w = canvas.TextWidth("W");
    if (AdjustFrame_) {
        int widest = 0;
        for (const std::string& line : Text_)
            widest = std::max(widest, canvas.TextWidth(line));
        const int a = w + frameWidth + widest;
        switch (Alignment_) {
        case taLeftJustify:
            box.Right = box.Left + a;
            break;
        case taRightJustify:
            box.Left = box.Right - a;
            break;
        case taCenter: {
            if (CustomPosition_)
                box.Right = box.Left + a;
            const int c = (box.Left + box.Right) / 2;
            box.Left = c - a / 2;
            box.Right = c + a / 2;
            break;
        }
        }
    }

    // Remember the box for hit tests, then draw frame and background.
    ShapeBounds = box;
    DrawShape(canvas, box);

    // The lines, each aligned inside the box.
    canvas.AssignFont(Font());
    canvas.SetTextAlign(TA_LEFT);
    canvas.SetBackMode(cbmTransparent);
    for (int i = 0; i < lines; ++i) {
        const std::string& line = Text_[static_cast<std::size_t>(i)];
        const int tw = canvas.TextWidth(line);
        const int y = IsFoot_ ? box.Bottom - lineHeight - (frameWidth + i * lineHeight)
                              : box.Top + frameWidth + i * lineHeight;
        int x = 0;
        switch (Alignment_) {
        case taLeftJustify:
            x = box.Left + w / 2;
            break;
        case taRightJustify:
            x = box.Right - tw - w / 2;
            break;
        case taCenter:
            x = (box.Left + box.Right) / 2 - tw / 2;
            break;
        }
        canvas.TextOut(x, y, line);
    }

    // A docked title takes its height off the chart rectangle.
    if (CustomPosition_)
        return;
    int room = ChartTitleFootDistance + frameWidth;
    if (!Transparent())
        room += Shadow().VertSize();
    if (IsFoot_)
        Chart_->ChartRect.Bottom = box.Bottom - room - lines * lineHeight;
    else
        Chart_->ChartRect.Top = box.Bottom + room;
    Chart_->RecalcWidthHeight();
}

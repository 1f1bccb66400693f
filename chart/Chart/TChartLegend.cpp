#include "chart/Chart/TChartLegend.h"

#include "chart/Chart/LegendLayout.h"
#include "chart/Chart/TCustomChart.h"
#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartPanel/ChartException.h"
#include "numfmt/NumberFormats.h"

#include <algorithm>
#include <cmath>

namespace {

std::string Join(const std::string& first, const std::string& second) {
    return first + ChartColumnSeparator + second;
}

// The label with its separator is left out when it is empty.
std::string WithLabel(const std::string& label, const std::string& other, bool labelFirst) {
    if (label.empty())
        return other;
    return labelFirst ? Join(label, other) : Join(other, label);
}

void SplitColumns(const std::string& text, std::string& first, std::string& second) {
    const std::size_t p = text.find(ChartColumnSeparator);
    if (p == std::string::npos) {
        first = text;
        second.clear();
        return;
    }
    first = text.substr(0, p);
    second = text.substr(p + 1);
    // A row has at most two columns; further separators stay in the second.
}

bool FirstColumnRight(TLegendTextStyle s) {
    switch (s) {
    case ltsLeftValue:
    case ltsLeftPercent:
    case ltsXValue:
    case ltsValue:
    case ltsPercent:
    case ltsXAndValue:
    case ltsXAndPercent:
        return true;
    default:
        return false;
    }
}

bool SecondColumnRight(TLegendTextStyle s) {
    return s == ltsRightValue || s == ltsRightPercent || s == ltsXAndValue || s == ltsXAndPercent;
}

} // namespace

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart)
    : TChartCustomShape(chart), Chart_(chart), Symbol_(std::make_unique<TLegendSymbol>(chart)),
      DividingLines_(std::make_unique<TChartHiddenPen>([this] { Repaint(); })) {}

TCustomChartLegend::~TCustomChartLegend() = default;

void TCustomChartLegend::SetFirstValue(int value) {
    if (value < 0)
        throw ChartException("First Legend Value must be > 0");
    if (StoreChanged(FirstValue_, value))
        Repaint();
}

bool TCustomChartLegend::ShouldDraw() const {
    return Visible() && (Chart_->CountActiveSeries() > 0 || CheckBoxes_);
}

TLegendStyle TCustomChartLegend::ResolvedStyle() const {
    if (LegendStyle_ != lsAuto)
        return LegendStyle_;
    return Chart_->CountActiveSeries() < 2 ? lsValues : lsSeries;
}

TChartSeries* TCustomChartLegend::GetLegendSeries() const {
    for (TChartSeries* s : Chart_->SeriesList())
        if (s->Active() && s->ShowInLegend())
            return s;
    return nullptr;
}

namespace {

std::vector<TChartSeries*> LegendSeriesList(const TCustomChart& chart) {
    std::vector<TChartSeries*> out;
    for (TChartSeries* s : chart.SeriesList())
        if (s->Active() && s->ShowInLegend())
            out.push_back(s);
    return out;
}

} // namespace

int TCustomChartLegend::TotalLegendItems() const {
    int count = 0;
    if (ResolvedStyle() == lsValues) {
        const TChartSeries* s = GetLegendSeries();
        count = s ? s->CountLegendItems() : 0;
    } else {
        count = static_cast<int>(LegendSeriesList(*Chart_).size());
    }
    return std::max(0, count - FirstValue_);
}

std::string TCustomChartLegend::ValueText(TChartSeries& series, int valueIndex) const {
    const std::string label = series.XLabel(valueIndex);
    const double v = series.GetMarkValue(valueIndex);
    auto valueText = [&] { return FormatFloat(series.ValueFormat(), v); };
    auto percentText = [&] {
        const double total = series.MandatoryValueList().TotalABS();
        return FormatFloat(series.PercentFormat(), total == 0 ? 0.0 : v * 100.0 / total);
    };
    auto xText = [&] {
        const double x = series.XValues().Value(valueIndex);
        const TChartAxis* axis = series.GetHorizAxis();
        return axis ? axis->LabelValue(x) : FormatFloat("#,##0.###", x);
    };
    switch (TextStyle_) {
    case ltsPlain:
        return label;
    case ltsLeftValue:
        return WithLabel(label, valueText(), false);
    case ltsRightValue:
        return WithLabel(label, valueText(), true);
    case ltsLeftPercent:
        return WithLabel(label, percentText(), false);
    case ltsRightPercent:
        return WithLabel(label, percentText(), true);
    case ltsXValue:
        return xText();
    case ltsValue:
        return valueText();
    case ltsPercent:
        return percentText();
    case ltsXAndValue:
        return Join(xText(), valueText());
    case ltsXAndPercent:
        return Join(xText(), percentText());
    }
    return label;
}

std::string TCustomChartLegend::LegendText(int itemIndex) const {
    std::string text;
    if (ResolvedStyle() == lsValues) {
        TChartSeries* s = GetLegendSeries();
        if (s)
            text = ValueText(*s, s->LegendToValueIndex(itemIndex));
    } else {
        const std::vector<TChartSeries*> list = LegendSeriesList(*Chart_);
        if (itemIndex >= 0 && itemIndex < static_cast<int>(list.size()))
            text = list[static_cast<std::size_t>(itemIndex)]->TitleOrName();
    }
    if (Chart_->OnGetLegendText)
        Chart_->OnGetLegendText(itemIndex, text);
    return text;
}

int TCustomChartLegend::FrameWidth() const {
    return Frame().Visible() ? Frame().Width() : 0;
}

void TCustomChartLegend::CalcColumnWidths(const std::vector<std::string>& texts) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    ColumnWidths_[0] = ColumnWidths_[1] = 0;
    std::string a;
    std::string b;
    for (const std::string& t : texts) {
        SplitColumns(t, a, b);
        ColumnWidths_[0] = std::max(ColumnWidths_[0], canvas.TextWidth(a));
        ColumnWidths_[1] = std::max(ColumnWidths_[1], canvas.TextWidth(b));
    }
}

int TCustomChartLegend::CalcSymbolWidth(int textBlockWidth) const {
    if (!Symbol_->Visible())
        return 0;
    if (Symbol_->Squared())
        return ItemHeight_ - 5;
    if (Symbol_->WidthUnits() == lcsPixels)
        return Symbol_->Width();
    return ChartRound((textBlockWidth + 10) * Symbol_->Width() * 0.01);
}

TLegendMeasure TCustomChartLegend::Measure() const {
    TLegendMeasure m;
    m.Vertical = Vertical();
    m.CustomPosition = CustomPosition_;
    m.Alignment = Alignment_;
    m.Position = {Left_, Top_};
    m.TopPos = TopPos_;
    m.MaxNumRows = MaxNumRows_;
    m.Bounds = Chart_->ChartBounds;
    m.ChartRect = Chart_->ChartRect;
    m.FrameWidth = FrameWidth();
    m.FrameVisible = Frame().Visible();
    m.ShadowWidth = Shadow().HorizSize();
    m.ItemHeight = ItemHeight_;
    return m;
}

void TCustomChartLegend::DrawLegend() {
    TChartCanvas3D& canvas = Chart_->Canvas();
    Style_ = ResolvedStyle();
    ShownItems_.clear();
    NumRows_ = 0;

    MeasureItemHeight();
    RestRow_.clear();
    const TLegendMeasure m = Measure();
    const int total = TotalLegendItems();
    const TLegendRowsFit fit = FitLegendRows(m, total);
    for (int i = 0; i < fit.Items; ++i)
        ShownItems_.push_back(FirstValue_ + i);
    if (Inverted_)
        std::reverse(ShownItems_.begin(), ShownItems_.end());
    if (ShownItems_.empty()) {
        LastValue_ = -1;
        ShapeBounds = {};
        return;
    }

    // Measure the texts of the rows that fit, then place the box around them;
    // a rest row, once needed, is measured too, with the most it could say.
    std::vector<std::string> texts;
    texts.reserve(ShownItems_.size() + 1);
    for (int item : ShownItems_)
        texts.push_back(LegendText(item));
    auto place = [&] {
        CalcColumnWidths(texts);
        const int textBlock = ColumnWidths_[0] + ColumnWidths_[1] + 2 * canvas.TextWidth(" ") - 1;
        SymbolWidth_ = CalcSymbolWidth(textBlock);
        return LayoutLegendBox(m, fit, textBlock, SymbolWidth_, Symbol_->Position() == spLeft);
    };
    TLegendBox layout = place();
    if (OnGetRestText && layout.Shown < total) {
        texts.push_back(OnGetRestText(total));
        layout = place();
        texts.pop_back();
    }
    int listed = layout.Shown;
    if (OnGetRestText && listed < total) {
        --listed; // its row says what is left out
        RestRow_ = OnGetRestText(total - listed);
    }
    ShownItems_.resize(static_cast<std::size_t>(std::max(0, listed)));
    texts.resize(ShownItems_.size());
    LastValue_ = listed > 0 ? FirstValue_ + listed - 1 : -1;
    NumRows_ = layout.Rows;
    XLegendColor_ = layout.XSymbol;
    XLegendText_ = layout.XText;

    DrawBoxAndRows(layout, texts);
    if (!CustomPosition_)
        TakeRoom();
}

void TCustomChartLegend::MeasureItemHeight() {
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(Font());
    ItemHeight_ = canvas.FontHeight();
    if (CheckBoxes_)
        ItemHeight_ = std::max(ItemHeight_, 17);
    ItemHeight_ += VertSpacing_;
    if (Vertical() && DividingLines_->Visible())
        ItemHeight_ += DividingLines_->Width();
}

void TCustomChartLegend::DrawBoxAndRows(const TLegendBox& layout,
                                        const std::vector<std::string>& texts) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    TRect box = layout.Box;
    if (Chart_->OnGetLegendRect)
        Chart_->OnGetLegendRect(box);
    ShapeBounds = box;
    DrawShape(canvas, box);

    canvas.AssignFont(Font());
    canvas.SetBackMode(cbmTransparent);
    for (std::size_t i = 0; i < ShownItems_.size(); ++i) {
        const int shiftX = layout.Column(static_cast<int>(i)) * layout.ItemWidth;
        XLegendText_ += shiftX;
        XLegendColor_ += shiftX;
        DrawRow(layout.Row(static_cast<int>(i)), ShownItems_[i], texts[i]);
        XLegendText_ -= shiftX;
        XLegendColor_ -= shiftX;
    }
    if (!RestRow_.empty()) {
        const int i = static_cast<int>(ShownItems_.size());
        DrawRestRow(layout.Row(i), layout.Column(i), layout.ItemWidth);
    }
}

void TCustomChartLegend::DrawRow(int row, int itemIndex, const std::string& text) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    const TRect box = ShapeBounds;
    const bool values = Style_ == lsValues;
    TChartSeries* series = nullptr;
    int valueIndex = -1;
    if (values) {
        series = GetLegendSeries();
        if (series)
            valueIndex = series->LegendToValueIndex(itemIndex);
    } else {
        const std::vector<TChartSeries*> list = LegendSeriesList(*Chart_);
        if (itemIndex >= 0 && itemIndex < static_cast<int>(list.size()))
            series = list[static_cast<std::size_t>(itemIndex)];
    }

    // Text goes over the legend box without a background of its own.
    canvas.SetBrushColor(Color());
    canvas.SetBrushStyle(bsClear);

    // Row position; a program hook may move it.
    int x = XLegendText_;
    int y = box.Top + 1 + row * ItemHeight_ + VertSpacing_ / 2;
    if (Chart_->OnGetLegendPos)
        Chart_->OnGetLegendPos(itemIndex, x, y);

    // Font, in the series colour when the legend asks for it.
    canvas.AssignFont(Font());
    if (FontSeriesColor_ && series)
        canvas.SetFontColor(values ? series->LegendItemColor(itemIndex) : series->SeriesColor());

    // The two text columns, numbers right-aligned within their column.
    std::string columns[2];
    SplitColumns(text, columns[0], columns[1]);
    const int blank = canvas.TextWidth(" ");
    canvas.SetTextAlign(TA_LEFT);
    canvas.SetBackMode(cbmTransparent);
    for (int c = 0; c < 2; ++c) {
        const std::string& t = columns[c];
        const bool rightAligned =
            values && (c == 0 ? FirstColumnRight(TextStyle_) : SecondColumnRight(TextStyle_));
        if (!t.empty()) {
            const int tx = rightAligned ? x + ColumnWidths_[c] - canvas.TextWidth(t) : x;
            canvas.TextOut(tx, y, t);
        }
        x += ColumnWidths_[c] + blank;
    }

    // Symbol box; continuous symbols close the gaps between rows.
    const bool first = row == 0;
    const bool last = row == NumRows_ - 1;
    TRect symbol{XLegendColor_, y + 2, XLegendColor_ + SymbolWidth_,
                 y + ItemHeight_ + 1 - (VertSpacing_ + 3)};
    if (Symbol_->Continuous()) {
        symbol.Top = first ? y + 2 : y;
        symbol.Bottom = last ? y + ItemHeight_ + 1 - (VertSpacing_ + 3) : y + ItemHeight_;
    }

    // The series draws its own symbol, outlined by the legend pen when set.
    if (SymbolWidth_ > 0 && series) {
        if (!Symbol_->DefaultPen())
            canvas.AssignVisiblePen(Symbol_->Pen());
        series->DrawLegendShape(values ? valueIndex : -1, symbol);
    }

    // Dividing line above every row but the first.
    if (row > 0 && DividingLines_->Visible()) {
        canvas.AssignVisiblePen(*DividingLines_);
        const int lineY = box.Top + 1 + row * ItemHeight_;
        canvas.DoHorizLine(box.Left, box.Right, lineY);
    }
}

// Text only, from the symbol's left edge when the symbol comes first: it is
// no item, so it has no symbol and answers no click.
void TCustomChartLegend::DrawRestRow(int row, int column, int itemWidth) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(Font());
    canvas.SetBrushStyle(bsClear);
    canvas.SetBackMode(cbmTransparent);
    canvas.SetTextAlign(TA_LEFT);
    const int x = std::min(XLegendText_, XLegendColor_) + column * itemWidth;
    const int y = ShapeBounds.Top + 1 + row * ItemHeight_ + VertSpacing_ / 2;
    canvas.TextOut(x, y, RestRow_);
}

void TCustomChartLegend::TakeRoom() {
    TRect& rect = Chart_->ChartRect;
    const TRect box = ShapeBounds;
    if (ResizeChart_) {
        switch (Alignment_) {
        case laLeft:
            rect.Left = box.Right;
            break;
        case laRight:
            rect.Right = box.Left;
            break;
        case laTop:
            rect.Top = box.Bottom + Chart_->Shadow().VertSize();
            break;
        case laBottom:
            rect.Bottom = box.Top;
            break;
        }
    }
    if (Vertical()) {
        const int gap = HorizMargin_ != 0 ? HorizMargin_ : ChartRound(Chart_->ChartWidth * 0.03);
        if (Alignment_ == laLeft)
            rect.Left += gap;
        else
            rect.Right -= gap;
    } else {
        const int gap = VertMargin_ != 0 ? VertMargin_ : ChartRound(Chart_->ChartHeight * 0.04);
        if (Alignment_ == laTop)
            rect.Top += gap;
        else
            rect.Bottom -= gap;
    }
    Chart_->RecalcWidthHeight();
}

int TCustomChartLegend::Clicked(int x, int y) const {
    if (!Visible() || ShownItems_.empty() || ItemHeight_ <= 0 || !PointInRect(ShapeBounds, x, y))
        return -1;
    const int row = (y - ShapeBounds.Top - 1) / ItemHeight_;
    if (y - ShapeBounds.Top - 1 < 0 || row >= NumRows_)
        return -1;
    if (Vertical())
        return row < static_cast<int>(ShownItems_.size())
                   ? ShownItems_[static_cast<std::size_t>(row)]
                   : -1;
    const int itemWidth =
        NumRows_ > 0
            ? (ShapeBounds.Right - ShapeBounds.Left) /
                  std::max(1, (static_cast<int>(ShownItems_.size()) + NumRows_ - 1) / NumRows_)
            : 0;
    const int column = itemWidth > 0 ? (x - ShapeBounds.Left) / itemWidth : 0;
    const std::size_t index = static_cast<std::size_t>(column * NumRows_ + row);
    return index < ShownItems_.size() ? ShownItems_[index] : -1;
}

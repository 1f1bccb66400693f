#include "chart/ChartEngine/TChartSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/ChartPanel/ChartException.h"
#include "numfmt/NumberFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

TChartSeries::TChartSeries() {
    XValues_ = std::make_unique<TChartValueList>(this, "X");
    XValues_->SetOrder(loAscending);
    YValues_ = std::make_unique<TChartValueList>(this, "Y");
    Marks_ = std::make_unique<TSeriesMarks>(this);
}

TChartSeries::~TChartSeries() {
    if (ParentChart_ && !ParentChart_->IsDestroying()) {
        TCustomAxisPanel* chart = ParentChart_;
        ParentChart_ = nullptr;
        chart->RemoveSeries(this);
    }
    ParentChart_ = nullptr;
    // The lists unregister themselves; they must go while the registry still exists.
    Marks_.reset();
    YValues_.reset();
    XValues_.reset();
}

// --- value lists --------------------------------------------------------------------

TChartValueList& TChartSeries::MandatoryValueList() const {
    return YMandatory_ ? *YValues_ : *XValues_;
}

TChartValueList& TChartSeries::NotMandatoryValueList() const {
    return YMandatory_ ? *XValues_ : *YValues_;
}

void TChartSeries::RegisterValueList(TChartValueList* list) {
    ValuesList_.push_back(list);
}

void TChartSeries::UnregisterValueList(TChartValueList* list) {
    ValuesList_.erase(std::remove(ValuesList_.begin(), ValuesList_.end(), list), ValuesList_.end());
}

// --- points -------------------------------------------------------------------------

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
    XValues_->TempValue = x;
    YValues_->TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int before = Count();
    TChartValueList& ordered = NotMandatoryValueList();
    const int p = ordered.AddChartValue(ordered.TempValue);
    for (TChartValueList* list : ValuesList_)
        if (list != &ordered)
            list->InsertChartValue(p, list->TempValue);
    const auto at = static_cast<std::ptrdiff_t>(p);
    if (!Colors_.empty()) {
        Colors_.insert(Colors_.begin() + at, color);
    } else if (before == 0 || color == SameColor_) {
        // Points of one colour (a line of ten million) keep no colour each.
        SameColor_ = color;
    } else {
        Colors_.assign(static_cast<std::size_t>(before), SameColor_);
        Colors_.insert(Colors_.begin() + at, color);
        SameColor_ = clDefault;
    }
    // The label list is either empty or one entry per point, so a first label pads it.
    if (!label.empty() || !Labels_.empty()) {
        Labels_.resize(static_cast<std::size_t>(before));
        Labels_.insert(Labels_.begin() + at, label);
    }
    if (UpdateCount_ == 0) {
        if (OnAfterAdd)
            OnAfterAdd(this, p);
        RepaintIfActive();
    }
    return p;
}

void TChartSeries::AddXYs(const std::int32_t* xs, const std::int32_t* ys, int count, TColor color) {
    if (count <= 0)
        return;
    const int before = Count();
    TChartValueList& ordered = NotMandatoryValueList();
    const std::int32_t* orderedValues = &ordered == XValues_.get() ? xs : ys;
    // In order already: every point goes to the end, as AddXY would put it.
    bool appends = ValuesList_.size() == 2 && ordered.Order() != loDescending;
    if (appends && ordered.Order() == loAscending) {
        appends = before == 0 || orderedValues[0] >= ordered.Last();
        for (int i = 1; appends && i < count; ++i)
            appends = orderedValues[i] >= orderedValues[i - 1];
    }
    const bool plain = !OnBeforeAdd && (UpdateCount_ > 0 || !OnAfterAdd) && Labels_.empty() &&
                       Colors_.empty() && (before == 0 || color == SameColor_);
    if (!appends || !plain) {
        for (int i = 0; i < count; ++i)
            AddXY(xs[i], ys[i], "", color);
        return;
    }
    XValues_->AppendValues(xs, static_cast<std::size_t>(count));
    YValues_->AppendValues(ys, static_cast<std::size_t>(count));
    XValues_->TempValue = xs[count - 1];
    YValues_->TempValue = ys[count - 1];
    SameColor_ = color;
    if (UpdateCount_ == 0)
        RepaintIfActive();
}

int TChartSeries::Add(double value, const std::string& label, TColor color) {
    if (YMandatory_)
        return AddXY(XValues_->Count(), value, label, color);
    return AddXY(value, YValues_->Count(), label, color);
}

int TChartSeries::AddX(double x, const std::string& label, TColor color) {
    return AddXY(x, Count(), label, color);
}

int TChartSeries::AddY(double y, const std::string& label, TColor color) {
    return AddXY(Count(), y, label, color);
}

int TChartSeries::AddNullXY(double x, double y, const std::string& label) {
    return AddXY(x, y, label, clNone);
}

int TChartSeries::Count() const {
    return XValues_->Count();
}

void TChartSeries::ReservePoints(int count) {
    for (TChartValueList* list : ValuesList_)
        list->Reserve(count);
}

void TChartSeries::Clear() {
    for (TChartValueList* list : ValuesList_)
        list->ClearValues();
    Colors_.clear();
    SameColor_ = clDefault;
    Labels_.clear();
    Marks_->Clear();
    if (OnClearValues)
        OnClearValues(this);
    if (ParentChart_ && !ParentChart_->IsDestroying())
        RepaintIfActive();
}

void TChartSeries::Delete(int valueIndex) {
    // A negative index would corrupt the lists just as one past the end would.
    if (valueIndex < 0 || valueIndex >= Count()) {
        char message[128];
        std::snprintf(message, sizeof message,
                      "Series Delete: ValueIndex %d out of bounds (0 to %d).", valueIndex,
                      Count() - 1);
        throw ChartException(message);
    }
    for (TChartValueList* list : ValuesList_)
        list->Delete(valueIndex);
    const auto at = static_cast<std::size_t>(valueIndex);
    if (at < Colors_.size())
        Colors_.erase(Colors_.begin() + static_cast<std::ptrdiff_t>(at));
    if (at < Labels_.size())
        Labels_.erase(Labels_.begin() + static_cast<std::ptrdiff_t>(at));
    Marks_->DeletePosition(valueIndex);
    RepaintIfActive();
}

void TChartSeries::Delete(int start, int quantity, bool renumber) {
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    quantity = std::min(quantity, Count() - start);
    for (TChartValueList* list : ValuesList_)
        list->Delete(start, quantity);
    auto eraseRange = [start, quantity](auto& v) {
        const auto first = static_cast<std::size_t>(start);
        if (first >= v.size())
            return;
        const auto last = std::min(v.size(), first + static_cast<std::size_t>(quantity));
        v.erase(v.begin() + static_cast<std::ptrdiff_t>(first),
                v.begin() + static_cast<std::ptrdiff_t>(last));
    };
    eraseRange(Colors_);
    eraseRange(Labels_);
    for (int i = 0; i < quantity; ++i)
        Marks_->DeletePosition(start);
    if (renumber)
        XValues_->FillSequence();
    RepaintIfActive();
}

void TChartSeries::BeginUpdate() {
    ++UpdateCount_;
}

void TChartSeries::EndUpdate() {
    if (UpdateCount_ == 0)
        return;
    if (--UpdateCount_ == 0)
        RefreshSeries();
}

// Points added while batching asked for no repaint, so the refresh asks for one.
void TChartSeries::RefreshSeries() {
    BroadcastSeriesEvent(seDataChanged);
    RepaintIfActive();
}

void TChartSeries::SortByValueList(const TChartValueList& list) {
    const int n = list.Count();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    const double* v = list.Data();
    if (list.Order() == loAscending)
        std::stable_sort(order.begin(), order.end(), [v](int a, int b) { return v[a] < v[b]; });
    else if (list.Order() == loDescending)
        std::stable_sort(order.begin(), order.end(), [v](int a, int b) { return v[a] > v[b]; });
    else
        return;
    for (TChartValueList* l : ValuesList_)
        l->Reorder(order);
    auto reorder = [&order](auto& vec) {
        if (vec.empty())
            return;
        auto copy = vec;
        for (std::size_t i = 0; i < order.size(); ++i)
            vec[i] = copy[static_cast<std::size_t>(order[i])];
    };
    reorder(Colors_);
    reorder(Labels_);
    Marks_->ResetPositions();
    Repaint();
}

// --- colours and labels -------------------------------------------------------------

void TChartSeries::SetSeriesColor(TColor value) {
    if (SeriesColor_ != value) {
        SeriesColor_ = value;
        Repaint();
    }
    BroadcastSeriesEvent(seChangeColor);
}

void TChartSeries::SetColorEachPoint(bool value) {
    if (StoreChanged(ColorEachPoint_, value))
        Repaint();
}

bool TChartSeries::HasColors() const {
    return !Colors_.empty() || (SameColor_ != clDefault && Count() > 0);
}

std::optional<TColor> TChartSeries::SharedValueColor() const {
    if (ColorEachPoint_ || !Colors_.empty())
        return std::nullopt;
    return SameColor_ != clDefault ? SameColor_ : SeriesColor_;
}

TColor TChartSeries::ValueColor(int valueIndex) const {
    const auto at = static_cast<std::size_t>(valueIndex);
    TColor own = clDefault;
    if (valueIndex >= 0 && at < Colors_.size())
        own = Colors_[at];
    else if (Colors_.empty() && valueIndex >= 0 && valueIndex < Count())
        own = SameColor_;
    if (own != clDefault)
        return own;
    if (ColorEachPoint_)
        return GetDefaultColor(valueIndex);
    return SeriesColor_;
}

void TChartSeries::SetValueColor(int valueIndex, TColor color) {
    if (valueIndex < 0 || valueIndex >= Count())
        return;
    if (Colors_.empty()) {
        if (color == SameColor_ && color == clDefault)
            return;
        Colors_.assign(static_cast<std::size_t>(Count()), SameColor_);
        SameColor_ = clDefault;
    }
    Colors_[static_cast<std::size_t>(valueIndex)] = color;
    Repaint();
}

std::string TChartSeries::XLabel(int valueIndex) const {
    const auto at = static_cast<std::size_t>(valueIndex);
    return valueIndex >= 0 && at < Labels_.size() ? Labels_[at] : std::string();
}

// --- chart membership ---------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* value) {
    if (value == ParentChart_)
        return;
    if (ParentChart_) {
        TCustomAxisPanel* old = ParentChart_;
        ParentChart_ = nullptr;
        old->RemoveSeries(this);
    }
    ParentChart_ = value;
    Marks_->SetParentChart(value);
    if (value)
        value->InternalAddSeries(this);
}

void TChartSeries::SetActive(bool value) {
    TCustomChartSeries::SetActive(value);
    BroadcastSeriesEvent(seChangeActive);
}

void TChartSeries::SetTitle(const std::string& value) {
    TCustomChartSeries::SetTitle(value);
    BroadcastSeriesEvent(seChangeTitle);
}

void TChartSeries::Added() {
    if (SeriesColor_ == clDefault && ParentChart_)
        SeriesColor_ = ParentChart_->GetFreeSeriesColor(true);
}

void TChartSeries::Removed() {}

// --- axes ---------------------------------------------------------------------------

void TChartSeries::SetHorizAxis(THorizAxis value) {
    if (StoreChanged(HorizAxis_, value))
        Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
    if (StoreChanged(VertAxis_, value))
        Repaint();
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    if (!ParentChart_)
        return nullptr;
    if (HorizAxis_ == aTopAxis)
        return &ParentChart_->TopAxis();
    if (HorizAxis_ == aCustomHorizAxis && CustomHorizAxis_)
        return CustomHorizAxis_;
    return &ParentChart_->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
    if (!ParentChart_)
        return nullptr;
    if (VertAxis_ == aRightAxis)
        return &ParentChart_->RightAxis();
    if (VertAxis_ == aCustomVertAxis && CustomVertAxis_)
        return CustomVertAxis_;
    return &ParentChart_->LeftAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
    if (!axis || !UseAxis() || axis->IsDepthAxis())
        return false;
    if (axis->Horizontal())
        return HorizAxis_ == aBothHorizAxis || GetHorizAxis() == axis;
    return VertAxis_ == aBothVertAxis || GetVertAxis() == axis;
}

int TChartSeries::CalcXPos(int valueIndex) const {
    return CalcXPosValue(XValues_->Value(valueIndex));
}

int TChartSeries::CalcYPos(int valueIndex) const {
    return CalcYPosValue(YValues_->Value(valueIndex));
}

int TChartSeries::CalcXPosValue(double value) const {
    const TChartAxis* axis = GetHorizAxis();
    return axis ? axis->CalcXPosValue(value) : 0;
}

int TChartSeries::CalcYPosValue(double value) const {
    const TChartAxis* axis = GetVertAxis();
    return axis ? axis->CalcYPosValue(value) : 0;
}

int TChartSeries::CalcPosValue(double value) const {
    return YMandatory_ ? CalcYPosValue(value) : CalcXPosValue(value);
}

double TChartSeries::MaxXValue() const {
    return XValues_->MaxValue();
}
double TChartSeries::MinXValue() const {
    return XValues_->MinValue();
}
double TChartSeries::MaxYValue() const {
    return YValues_->MaxValue();
}
double TChartSeries::MinYValue() const {
    return YValues_->MinValue();
}

double TChartSeries::GetMarkValue(int valueIndex) const {
    return MandatoryValueList().Value(valueIndex);
}

void TChartSeries::CalcHorizMargins(int& leftMargin, int& rightMargin) {
    leftMargin = 0;
    rightMargin = 0;
}

void TChartSeries::CalcVerticalMargins(int& topMargin, int& bottomMargin) {
    topMargin = 0;
    bottomMargin = 0;
}

// --- drawing ------------------------------------------------------------------------

void TChartSeries::SetDepth(int value) {
    if (StoreChanged(Depth_, value))
        Repaint();
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    FirstVisibleIndex_ = -1;
    LastVisibleIndex_ = -1;
    const int n = Count();
    if (n == 0)
        return;
    FirstVisibleIndex_ = 0;
    LastVisibleIndex_ = n - 1;
    const TChartValueList& list = NotMandatoryValueList();
    const TChartAxis* axis = YMandatory_ ? GetHorizAxis() : GetVertAxis();
    // Only ascending lists can be searched by value; the others are drawn whole.
    if (!CalcVisiblePoints_ || list.Order() != loAscending || !axis || !ParentChart_)
        return;
    const TRect& r = ParentChart_->ChartRect;
    int nearPixel;
    int farPixel;
    if (YMandatory_) {
        nearPixel = axis->Inverted() ? r.Right : r.Left;
        farPixel = axis->Inverted() ? r.Left : r.Right;
    } else {
        nearPixel = axis->Inverted() ? r.Top : r.Bottom;
        farPixel = axis->Inverted() ? r.Bottom : r.Top;
    }
    const double nearValue = axis->CalcPosPoint(nearPixel);
    const double farValue = axis->CalcPosPoint(farPixel);
    // The first index in [from, n) whose value is not below value; by Value,
    // so that a consecutive list stays unstored.
    auto lowerBound = [&list, n](int from, double value) {
        int to = n;
        while (from < to) {
            const int mid = from + (to - from) / 2;
            if (list.Value(mid) < value)
                from = mid + 1;
            else
                to = mid;
        }
        return from;
    };
    const int first = lowerBound(0, nearValue);
    if (first == n) {
        FirstVisibleIndex_ = -1;
        LastVisibleIndex_ = -1;
        return;
    }
    FirstVisibleIndex_ = first;
    if (list.Last() > farValue) {
        const int last = lowerBound(first, farValue);
        if (last == n) {
            LastVisibleIndex_ = n - 1;
        } else {
            LastVisibleIndex_ = last;
            if (!DrawBetweenPoints_ && list.Value(last) > farValue)
                --LastVisibleIndex_;
        }
    } else {
        LastVisibleIndex_ = n - 1;
    }
}

void TChartSeries::DrawSeries() {
    CalcFirstLastVisibleIndex();
    if (FirstVisibleIndex_ == -1)
        return;
    DoBeforeDrawValues();
    TChartCanvas3D* canvas = ParentCanvas();
    const bool clip = canvas && ParentChart_ && UseAxis() && ParentChart_->ClipPoints() &&
                      ParentChart_->CanClip();
    TRect clipRect{};
    if (clip) {
        clipRect = ParentChart_->ChartRect;
        ++clipRect.Bottom;
        canvas->ClipCube(clipRect, 0, ParentChart_->SeriesWidth3D);
    }
    DrawAllValues();
    if (clip)
        canvas->UnClipRectangle();
    if (Count() > 0 && Marks_->Visible()) {
        const bool clipMarks = canvas && ParentChart_ && Marks_->Clip();
        if (clipMarks) {
            clipRect = ParentChart_->ChartRect;
            ++clipRect.Bottom;
            canvas->ClipCube(clipRect, 0, ParentChart_->SeriesWidth3D);
        }
        DrawMarks();
        if (clipMarks)
            canvas->UnClipRectangle();
    }
    DoAfterDrawValues();
}

void TChartSeries::DoBeforeDrawValues() {
    if (BeforeDrawValues)
        BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues() {
    if (AfterDrawValues)
        AfterDrawValues(this);
}

void TChartSeries::DrawAllValues() {
    if (FirstVisibleIndex_ < 0)
        return;
    const TChartAxis* axis = GetHorizAxis();
    bool reverse = axis && axis->Inverted();
    if (ParentChart_ && ParentChart_->View3D() && ParentChart_->IsViewedFromBehind())
        reverse = !reverse;
    if (reverse) {
        for (int i = LastVisibleIndex_; i >= FirstVisibleIndex_; --i)
            DrawValue(i);
    } else {
        for (int i = FirstVisibleIndex_; i <= LastVisibleIndex_; ++i)
            DrawValue(i);
    }
}

void TChartSeries::DrawMarks() {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas || FirstVisibleIndex_ < 0)
        return;
    TSeriesMarks& marks = *Marks_;
    marks.ZPosition = MiddleZ;
    const int every = std::max(1, marks.DrawEvery());
    const int last = std::min(LastVisibleIndex_, Count() - 1);
    for (int i = FirstVisibleIndex_; i <= last; ++i) {
        if (i % every != 0 || IsNull(i))
            continue;
        const std::string text = GetMarkText(i);
        if (text.empty())
            continue;
        TChartCustomShape& item = marks.MarkItem(i);
        if (!item.Visible())
            continue;
        const double oldZoom = canvas->FontZoom();
        if (ParentChart_ && ParentChart_->View3D() && ParentChart_->View3DOptions().ZoomText() &&
            ParentChart_->View3DOptions().Zoom() != 100)
            canvas->SetFontZoom(ParentChart_->View3DOptions().Zoom());
        canvas->AssignFont(item.Font());
        canvas->SetFontZoom(oldZoom);
        TSeriesMarkPosition position;
        marks.CalcBoxSize(text, position.Width, position.Height);
        position.ArrowTo = TPoint{CalcXPos(i), CalcYPos(i)};
        position.ArrowFrom = position.ArrowTo;
        position.LeftTop = TPoint{position.ArrowTo.X - position.Width / 2,
                                  position.ArrowTo.Y - position.Height + 1};
        DrawMark(i, text, position);
    }
}

void TChartSeries::DrawMark(int valueIndex, const std::string& text,
                            TSeriesMarkPosition& position) {
    Marks_->InternalDraw(valueIndex, ValueColor(valueIndex), position, text);
}

std::string TChartSeries::GetMarkText(int valueIndex) {
    const double value = GetMarkValue(valueIndex);
    const std::string valueText = FormatFloat(ValueFormat_, value);
    std::string labelText = XLabel(valueIndex);
    if (labelText.empty())
        labelText = valueText;
    const double absTotal = MandatoryValueList().TotalABS();
    const double percent = absTotal == 0 ? 100.0 : std::fabs(value) * 100.0 / absTotal;
    const std::string percentText = FormatFloat(PercentFormat_, percent);
    const bool multiLine = Marks_->MultiLine();
    const std::string percentTotalText =
        percentText + (multiLine ? "\rof " : " of ") + FormatFloat(ValueFormat_, absTotal);
    const std::string separator = multiLine ? std::string(1, ChartLineSeparator) : " ";
    auto xText = [&] {
        const double x = XValues_->Value(valueIndex);
        const TChartAxis* axis = GetHorizAxis();
        return axis && UseAxis() ? axis->LabelValue(x) : FormatFloat(ValueFormat_, x);
    };
    std::string text;
    switch (Marks_->Style()) {
    case smsValue:
        text = valueText;
        break;
    case smsPercent:
        text = percentText;
        break;
    case smsLabel:
        text = labelText;
        break;
    case smsLabelPercent:
        text = labelText + separator + percentText;
        break;
    case smsLabelValue:
        text = labelText + separator + valueText;
        break;
    case smsLegend:
        text = ParentChart_ ? ParentChart_->FormattedValueLegend(this, valueIndex) : labelText;
        break;
    case smsPercentTotal:
        text = percentTotalText;
        break;
    case smsLabelPercentTotal:
        text = labelText + separator + percentTotalText;
        break;
    case smsXValue:
        text = xText();
        break;
    case smsXY:
        text = xText() + separator + valueText;
        break;
    }
    if (OnGetMarkText)
        OnGetMarkText(this, valueIndex, text);
    return text;
}

TChartCanvas3D* TChartSeries::ParentCanvas() const {
    return ParentChart_ ? &ParentChart_->Canvas() : nullptr;
}

// --- legend -------------------------------------------------------------------------

TColor TChartSeries::LegendItemColor(int legendIndex) const {
    return ValueColor(LegendToValueIndex(legendIndex));
}

void TChartSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? SeriesColor_ : ValueColor(valueIndex);
    if (color == clNone || (valueIndex == -1 && ColorEachPoint_))
        return;
    canvas->AssignBrush(Brush(), color);
    canvas->AssignVisiblePen(Pen());
    canvas->Rectangle(rect);
}

void TChartSeries::PrepareLegendCanvas(int /*valueIndex*/, TColor& /*backColor*/) {}

int TChartSeries::Clicked(int /*x*/, int /*y*/) {
    return -1;
}

// --- notifications ------------------------------------------------------------------

void TChartSeries::NotifyValue(TChartValueList* /*list*/, int /*valueIndex*/) {
    Repaint();
}

void TChartSeries::BroadcastSeriesEvent(TChartSeriesEvent event) {
    if (ParentChart_ && !ParentChart_->IsDestroying())
        ParentChart_->BroadcastSeriesEvent(event, this);
}

void TChartSeries::RepaintIfActive() const {
    if (Active_)
        Repaint();
}

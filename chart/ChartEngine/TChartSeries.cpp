#include "chart/ChartEngine/TChartSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "numfmt/NumberFormats.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/ChartPanel/ChartException.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

TChartSeries::TChartSeries() {
    FXValues = std::make_unique<TChartValueList>(this, "X");
    FXValues->SetOrder(loAscending);
    FYValues = std::make_unique<TChartValueList>(this, "Y");
    FMarks = std::make_unique<TSeriesMarks>(this);
}

TChartSeries::~TChartSeries() {
    if (FParentChart && !FParentChart->IsDestroying()) {
        TCustomAxisPanel* chart = FParentChart;
        FParentChart = nullptr;
        chart->RemoveSeries(this);
    }
    FParentChart = nullptr;
    // The lists unregister themselves; they must go while the registry still exists.
    FMarks.reset();
    FYValues.reset();
    FXValues.reset();
}

// --- value lists --------------------------------------------------------------------

TChartValueList& TChartSeries::MandatoryValueList() const {
    return FYMandatory ? *FYValues : *FXValues;
}

TChartValueList& TChartSeries::NotMandatoryValueList() const {
    return FYMandatory ? *FXValues : *FYValues;
}

void TChartSeries::RegisterValueList(TChartValueList* list) {
    FValuesList.push_back(list);
}

void TChartSeries::UnregisterValueList(TChartValueList* list) {
    FValuesList.erase(std::remove(FValuesList.begin(), FValuesList.end(), list), FValuesList.end());
}

// --- points -------------------------------------------------------------------------

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
    FXValues->TempValue = x;
    FYValues->TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int before = Count();
    TChartValueList& ordered = NotMandatoryValueList();
    const int p = ordered.AddChartValue(ordered.TempValue);
    for (TChartValueList* list : FValuesList)
        if (list != &ordered)
            list->InsertChartValue(p, list->TempValue);
    const auto at = static_cast<std::ptrdiff_t>(p);
    if (!FColors.empty()) {
        FColors.insert(FColors.begin() + at, color);
    } else if (before == 0 || color == FSameColor) {
        // Points of one colour (a line of ten million) keep no colour each.
        FSameColor = color;
    } else {
        FColors.assign(static_cast<std::size_t>(before), FSameColor);
        FColors.insert(FColors.begin() + at, color);
        FSameColor = clDefault;
    }
    // The label list is either empty or one entry per point, so a first label pads it.
    if (!label.empty() || !FLabels.empty()) {
        FLabels.resize(static_cast<std::size_t>(before));
        FLabels.insert(FLabels.begin() + at, label);
    }
    if (FUpdateCount == 0) {
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
    const std::int32_t* orderedValues = &ordered == FXValues.get() ? xs : ys;
    // In order already: every point goes to the end, as AddXY would put it.
    bool appends = FValuesList.size() == 2 && ordered.Order() != loDescending;
    if (appends && ordered.Order() == loAscending) {
        appends = before == 0 || orderedValues[0] >= ordered.Last();
        for (int i = 1; appends && i < count; ++i)
            appends = orderedValues[i] >= orderedValues[i - 1];
    }
    const bool plain = !OnBeforeAdd && (FUpdateCount > 0 || !OnAfterAdd) && FLabels.empty() &&
                       FColors.empty() && (before == 0 || color == FSameColor);
    if (!appends || !plain) {
        for (int i = 0; i < count; ++i)
            AddXY(xs[i], ys[i], "", color);
        return;
    }
    FXValues->AppendValues(xs, static_cast<std::size_t>(count));
    FYValues->AppendValues(ys, static_cast<std::size_t>(count));
    FXValues->TempValue = xs[count - 1];
    FYValues->TempValue = ys[count - 1];
    FSameColor = color;
    if (FUpdateCount == 0)
        RepaintIfActive();
}

int TChartSeries::Add(double value, const std::string& label, TColor color) {
    if (FYMandatory)
        return AddXY(FXValues->Count(), value, label, color);
    return AddXY(value, FYValues->Count(), label, color);
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
    return FXValues->Count();
}

void TChartSeries::ReservePoints(int count) {
    for (TChartValueList* list : FValuesList)
        list->Reserve(count);
}

void TChartSeries::Clear() {
    for (TChartValueList* list : FValuesList)
        list->ClearValues();
    FColors.clear();
    FSameColor = clDefault;
    FLabels.clear();
    FMarks->Clear();
    if (OnClearValues)
        OnClearValues(this);
    if (FParentChart && !FParentChart->IsDestroying())
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
    for (TChartValueList* list : FValuesList)
        list->Delete(valueIndex);
    const auto at = static_cast<std::size_t>(valueIndex);
    if (at < FColors.size())
        FColors.erase(FColors.begin() + static_cast<std::ptrdiff_t>(at));
    if (at < FLabels.size())
        FLabels.erase(FLabels.begin() + static_cast<std::ptrdiff_t>(at));
    FMarks->DeletePosition(valueIndex);
    RepaintIfActive();
}

void TChartSeries::Delete(int start, int quantity, bool renumber) {
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    quantity = std::min(quantity, Count() - start);
    for (TChartValueList* list : FValuesList)
        list->Delete(start, quantity);
    auto eraseRange = [start, quantity](auto& v) {
        const auto first = static_cast<std::size_t>(start);
        if (first >= v.size())
            return;
        const auto last = std::min(v.size(), first + static_cast<std::size_t>(quantity));
        v.erase(v.begin() + static_cast<std::ptrdiff_t>(first),
                v.begin() + static_cast<std::ptrdiff_t>(last));
    };
    eraseRange(FColors);
    eraseRange(FLabels);
    for (int i = 0; i < quantity; ++i)
        FMarks->DeletePosition(start);
    if (renumber)
        FXValues->FillSequence();
    RepaintIfActive();
}

void TChartSeries::BeginUpdate() {
    ++FUpdateCount;
}

void TChartSeries::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
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
    for (TChartValueList* l : FValuesList)
        l->Reorder(order);
    auto reorder = [&order](auto& vec) {
        if (vec.empty())
            return;
        auto copy = vec;
        for (std::size_t i = 0; i < order.size(); ++i)
            vec[i] = copy[static_cast<std::size_t>(order[i])];
    };
    reorder(FColors);
    reorder(FLabels);
    FMarks->ResetPositions();
    Repaint();
}

// --- colours and labels -------------------------------------------------------------

void TChartSeries::SetSeriesColor(TColor value) {
    if (FSeriesColor != value) {
        FSeriesColor = value;
        Repaint();
    }
    BroadcastSeriesEvent(seChangeColor);
}

void TChartSeries::SetColorEachPoint(bool value) {
    if (StoreChanged(FColorEachPoint, value))
        Repaint();
}

bool TChartSeries::HasColors() const {
    return !FColors.empty() || (FSameColor != clDefault && Count() > 0);
}

std::optional<TColor> TChartSeries::SharedValueColor() const {
    if (FColorEachPoint || !FColors.empty())
        return std::nullopt;
    return FSameColor != clDefault ? FSameColor : FSeriesColor;
}

TColor TChartSeries::ValueColor(int valueIndex) const {
    const auto at = static_cast<std::size_t>(valueIndex);
    TColor own = clDefault;
    if (valueIndex >= 0 && at < FColors.size())
        own = FColors[at];
    else if (FColors.empty() && valueIndex >= 0 && valueIndex < Count())
        own = FSameColor;
    if (own != clDefault)
        return own;
    if (FColorEachPoint)
        return GetDefaultColor(valueIndex);
    return FSeriesColor;
}

void TChartSeries::SetValueColor(int valueIndex, TColor color) {
    if (valueIndex < 0 || valueIndex >= Count())
        return;
    if (FColors.empty()) {
        if (color == FSameColor && color == clDefault)
            return;
        FColors.assign(static_cast<std::size_t>(Count()), FSameColor);
        FSameColor = clDefault;
    }
    FColors[static_cast<std::size_t>(valueIndex)] = color;
    Repaint();
}

std::string TChartSeries::XLabel(int valueIndex) const {
    const auto at = static_cast<std::size_t>(valueIndex);
    return valueIndex >= 0 && at < FLabels.size() ? FLabels[at] : std::string();
}

// --- chart membership ---------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* value) {
    if (value == FParentChart)
        return;
    if (FParentChart) {
        TCustomAxisPanel* old = FParentChart;
        FParentChart = nullptr;
        old->RemoveSeries(this);
    }
    FParentChart = value;
    FMarks->SetParentChart(value);
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
    if (FSeriesColor == clDefault && FParentChart)
        FSeriesColor = FParentChart->GetFreeSeriesColor(true);
}

void TChartSeries::Removed() {}

// --- axes ---------------------------------------------------------------------------

void TChartSeries::SetHorizAxis(THorizAxis value) {
    if (StoreChanged(FHorizAxis, value))
        Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
    if (StoreChanged(FVertAxis, value))
        Repaint();
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    if (!FParentChart)
        return nullptr;
    if (FHorizAxis == aTopAxis)
        return &FParentChart->TopAxis();
    if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis)
        return FCustomHorizAxis;
    return &FParentChart->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
    if (!FParentChart)
        return nullptr;
    if (FVertAxis == aRightAxis)
        return &FParentChart->RightAxis();
    if (FVertAxis == aCustomVertAxis && FCustomVertAxis)
        return FCustomVertAxis;
    return &FParentChart->LeftAxis();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
    if (!axis || !UseAxis() || axis->IsDepthAxis())
        return false;
    if (axis->Horizontal())
        return FHorizAxis == aBothHorizAxis || GetHorizAxis() == axis;
    return FVertAxis == aBothVertAxis || GetVertAxis() == axis;
}

int TChartSeries::CalcXPos(int valueIndex) const {
    return CalcXPosValue(FXValues->Value(valueIndex));
}

int TChartSeries::CalcYPos(int valueIndex) const {
    return CalcYPosValue(FYValues->Value(valueIndex));
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
    return FYMandatory ? CalcYPosValue(value) : CalcXPosValue(value);
}

double TChartSeries::MaxXValue() const {
    return FXValues->MaxValue();
}
double TChartSeries::MinXValue() const {
    return FXValues->MinValue();
}
double TChartSeries::MaxYValue() const {
    return FYValues->MaxValue();
}
double TChartSeries::MinYValue() const {
    return FYValues->MinValue();
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
    if (StoreChanged(FDepth, value))
        Repaint();
}

void TChartSeries::CalcFirstLastVisibleIndex() {
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    const int n = Count();
    if (n == 0)
        return;
    FFirstVisibleIndex = 0;
    FLastVisibleIndex = n - 1;
    const TChartValueList& list = NotMandatoryValueList();
    const TChartAxis* axis = FYMandatory ? GetHorizAxis() : GetVertAxis();
    // Only ascending lists can be searched by value; the others are drawn whole.
    if (!FCalcVisiblePoints || list.Order() != loAscending || !axis || !FParentChart)
        return;
    const TRect& r = FParentChart->ChartRect;
    int nearPixel;
    int farPixel;
    if (FYMandatory) {
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
        FFirstVisibleIndex = -1;
        FLastVisibleIndex = -1;
        return;
    }
    FFirstVisibleIndex = first;
    if (list.Last() > farValue) {
        const int last = lowerBound(first, farValue);
        if (last == n) {
            FLastVisibleIndex = n - 1;
        } else {
            FLastVisibleIndex = last;
            if (!FDrawBetweenPoints && list.Value(last) > farValue)
                --FLastVisibleIndex;
        }
    } else {
        FLastVisibleIndex = n - 1;
    }
}

void TChartSeries::DrawSeries() {
    CalcFirstLastVisibleIndex();
    if (FFirstVisibleIndex == -1)
        return;
    DoBeforeDrawValues();
    TChartCanvas3D* canvas = ParentCanvas();
    const bool clip = canvas && FParentChart && UseAxis() && FParentChart->ClipPoints() &&
                      FParentChart->CanClip();
    TRect clipRect{};
    if (clip) {
        clipRect = FParentChart->ChartRect;
        ++clipRect.Bottom;
        canvas->ClipCube(clipRect, 0, FParentChart->SeriesWidth3D);
    }
    DrawAllValues();
    if (clip)
        canvas->UnClipRectangle();
    if (Count() > 0 && FMarks->Visible()) {
        const bool clipMarks = canvas && FParentChart && FMarks->Clip();
        if (clipMarks) {
            clipRect = FParentChart->ChartRect;
            ++clipRect.Bottom;
            canvas->ClipCube(clipRect, 0, FParentChart->SeriesWidth3D);
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
    if (FFirstVisibleIndex < 0)
        return;
    const TChartAxis* axis = GetHorizAxis();
    bool reverse = axis && axis->Inverted();
    if (FParentChart && FParentChart->View3D() && FParentChart->IsViewedFromBehind())
        reverse = !reverse;
    if (reverse) {
        for (int i = FLastVisibleIndex; i >= FFirstVisibleIndex; --i)
            DrawValue(i);
    } else {
        for (int i = FFirstVisibleIndex; i <= FLastVisibleIndex; ++i)
            DrawValue(i);
    }
}

void TChartSeries::DrawMarks() {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas || FFirstVisibleIndex < 0)
        return;
    TSeriesMarks& marks = *FMarks;
    marks.ZPosition = MiddleZ;
    const int every = std::max(1, marks.DrawEvery());
    const int last = std::min(FLastVisibleIndex, Count() - 1);
    for (int i = FFirstVisibleIndex; i <= last; ++i) {
        if (i % every != 0 || IsNull(i))
            continue;
        const std::string text = GetMarkText(i);
        if (text.empty())
            continue;
        TChartCustomShape& item = marks.MarkItem(i);
        if (!item.Visible())
            continue;
        const double oldZoom = canvas->FontZoom();
        if (FParentChart && FParentChart->View3D() && FParentChart->View3DOptions().ZoomText() &&
            FParentChart->View3DOptions().Zoom() != 100)
            canvas->SetFontZoom(FParentChart->View3DOptions().Zoom());
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
    FMarks->InternalDraw(valueIndex, ValueColor(valueIndex), position, text);
}

std::string TChartSeries::GetMarkText(int valueIndex) {
    const double value = GetMarkValue(valueIndex);
    const std::string valueText = FormatFloat(FValueFormat, value);
    std::string labelText = XLabel(valueIndex);
    if (labelText.empty())
        labelText = valueText;
    const double absTotal = MandatoryValueList().TotalABS();
    const double percent = absTotal == 0 ? 100.0 : std::fabs(value) * 100.0 / absTotal;
    const std::string percentText = FormatFloat(FPercentFormat, percent);
    const bool multiLine = FMarks->MultiLine();
    const std::string percentTotalText =
        percentText + (multiLine ? "\rof " : " of ") + FormatFloat(FValueFormat, absTotal);
    const std::string separator = multiLine ? std::string(1, ChartLineSeparator) : " ";
    auto xText = [&] {
        const double x = FXValues->Value(valueIndex);
        const TChartAxis* axis = GetHorizAxis();
        return axis && UseAxis() ? axis->LabelValue(x) : FormatFloat(FValueFormat, x);
    };
    std::string text;
    switch (FMarks->Style()) {
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
        text = FParentChart ? FParentChart->FormattedValueLegend(this, valueIndex) : labelText;
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
    return FParentChart ? &FParentChart->Canvas() : nullptr;
}

// --- legend -------------------------------------------------------------------------

TColor TChartSeries::LegendItemColor(int legendIndex) const {
    return ValueColor(LegendToValueIndex(legendIndex));
}

void TChartSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? FSeriesColor : ValueColor(valueIndex);
    if (color == clNone || (valueIndex == -1 && FColorEachPoint))
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
    if (FParentChart && !FParentChart->IsDestroying())
        FParentChart->BroadcastSeriesEvent(event, this);
}

void TChartSeries::RepaintIfActive() const {
    if (FActive)
        Repaint();
}

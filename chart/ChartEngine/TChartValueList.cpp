#include "chart/ChartEngine/TChartValueList.h"
#include "chart/StoreChanged.h"

#include "chart/ChartEngine/TChartSeries.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name)
    : FOwner(owner), FName(name) {
    if (FOwner)
        FOwner->RegisterValueList(this);
}

TChartValueList::~TChartValueList() {
    if (FOwner)
        FOwner->UnregisterValueList(this);
}

void TChartValueList::SetOrder(TChartListOrder value) {
    FOrder = value;
}

void TChartValueList::SetDateTime(bool value) {
    if (!StoreChanged(FDateTime, value))
        return;
    if (FOwner)
        FOwner->Repaint();
}

// Capacity steps by ChartDefaultCapacity; once the list is large the step becomes half
// the capacity (in whole thousands), so that appending stays amortised constant time for
// a million points instead of copying the whole list every thousand values.
namespace {

std::size_t GrownRoom(std::size_t capacity) {
    return capacity +
           std::max<std::size_t>(ChartDefaultCapacity,
                                 capacity / 2 / ChartDefaultCapacity * ChartDefaultCapacity);
}

// A line of millions of points fills tens of megabytes at once; on Linux
// huge pages spare most of the page faults of touching them the first time.
void AdviseHugePages([[maybe_unused]] const std::vector<double>& v) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t Huge = std::uintptr_t{1} << 21;
    const auto begin = reinterpret_cast<std::uintptr_t>(v.data());
    const std::uintptr_t end = begin + v.capacity() * sizeof(double);
    const std::uintptr_t first = (begin + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t last = end & ~(Huge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace

void TChartValueList::Grow() {
    if (FValues.size() < FValues.capacity())
        return;
    FValues.reserve(GrownRoom(FValues.capacity()));
}

void TChartValueList::Reserve(int count) {
    if (count <= 0)
        return;
    if (FConsecutive)
        FRoom = std::max(FRoom, static_cast<std::size_t>(count));
    else if (FValues.capacity() < static_cast<std::size_t>(count)) {
        FValues.reserve(static_cast<std::size_t>(count));
        AdviseHugePages(FValues);
    }
}

bool TChartValueList::AppendConsecutive(double value) {
    if (!FConsecutive)
        return false;
    const std::size_t n = FConsecutiveCount;
    const double first = n == 0 ? value : FFirst;
    // Bit for bit, so that Value gives back exactly what was added (-0.0 and
    // NaN included).
    if (std::bit_cast<std::uint64_t>(first + static_cast<double>(n)) !=
        std::bit_cast<std::uint64_t>(value))
        return false;
    FFirst = first;
    if (n == FRoom)
        FRoom = GrownRoom(FRoom);
    FConsecutiveCount = n + 1;
    FModified = true;
    return true;
}

void TChartValueList::Materialize() const {
    if (!FConsecutive)
        return;
    FValues.clear();
    FValues.reserve(std::max(FRoom, FConsecutiveCount));
    AdviseHugePages(FValues);
    for (std::size_t i = 0; i < FConsecutiveCount; ++i)
        FValues.push_back(FFirst + static_cast<double>(i));
    FConsecutive = false;
}

const double* TChartValueList::Data() const {
    Materialize();
    return FValues.data();
}

const std::vector<double>& TChartValueList::Values() const {
    Materialize();
    return FValues;
}

int TChartValueList::AddChartValue(double value) {
    const int n = Count();
    if (FOrder == loNone || n == 0 || (FOrder == loAscending && value >= Last()) ||
        (FOrder == loDescending && value <= Last())) {
        if (AppendConsecutive(value))
            return n;
        Materialize();
        Grow();
        FValues.push_back(value);
        FModified = true;
        return n;
    }
    Materialize();
    int i = n - 1;
    if (FOrder == loAscending) {
        while (i >= 0 && value < FValues[static_cast<std::size_t>(i)])
            --i;
    } else {
        while (i >= 0 && FValues[static_cast<std::size_t>(i)] < value)
            --i;
    }
    InsertChartValue(i + 1, value);
    return i + 1;
}

void TChartValueList::InsertChartValue(int index, double value) {
    if (index == Count() && AppendConsecutive(value))
        return;
    Materialize();
    Grow();
    FValues.insert(FValues.begin() + index, value);
    FModified = true;
}

void TChartValueList::AppendValues(const std::int32_t* values, std::size_t count) {
    std::size_t i = 0;
    if (FConsecutive && count > 0) {
        // As AppendConsecutive for each value, in one pass.
        const std::size_t n = FConsecutiveCount;
        const double first = n == 0 ? static_cast<double>(values[0]) : FFirst;
        while (i < count && std::bit_cast<std::uint64_t>(first + static_cast<double>(n + i)) ==
                                std::bit_cast<std::uint64_t>(static_cast<double>(values[i])))
            ++i;
        if (i > 0) {
            FFirst = first;
            FConsecutiveCount = n + i;
            while (FRoom < FConsecutiveCount)
                FRoom = GrownRoom(FRoom);
            FModified = true;
        }
    }
    if (i == count)
        return;
    Materialize();
    // The room grows in the steps one value at a time would take, then the
    // rest is converted in one pass.
    while (FValues.capacity() - FValues.size() < count - i)
        FValues.reserve(GrownRoom(FValues.capacity()));
    FValues.insert(FValues.end(), values + i, values + count);
    FModified = true;
}

void TChartValueList::SetValue(int index, double value) {
    Materialize();
    FValues[static_cast<std::size_t>(index)] = value;
    FModified = true;
    if (FOwner)
        FOwner->NotifyValue(this, index);
}

void TChartValueList::Delete(int index) {
    Delete(index, 1);
}

void TChartValueList::Delete(int start, int quantity) {
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    const int end = std::min(Count(), start + quantity);
    Materialize();
    FValues.erase(FValues.begin() + start, FValues.begin() + end);
    FModified = true;
}

void TChartValueList::ClearValues() {
    // The room is kept: the window clears and refills its series on every display pass.
    FRoom = std::max(FConsecutive ? FRoom : FValues.capacity(), FValues.capacity());
    FValues.clear();
    FConsecutive = true;
    FConsecutiveCount = 0;
    FModified = true;
}

void TChartValueList::RecalcStats() {
    if (!FModified)
        return;
    const int n = Count();
    if (n == 0) {
        FMinValue = FMaxValue = FTotal = FTotalABS = 0;
    } else {
        FMinValue = FMaxValue = FTotal = Value(0);
        FTotalABS = std::fabs(Value(0));
        for (int i = 1; i < n; ++i) {
            const double v = Value(i);
            if (v < FMinValue)
                FMinValue = v;
            else if (v > FMaxValue)
                FMaxValue = v;
            FTotal += v;
            FTotalABS += std::fabs(v);
        }
    }
    FModified = false;
}

double TChartValueList::MaxValue() {
    RecalcStats();
    return FMaxValue;
}

double TChartValueList::MinValue() {
    RecalcStats();
    return FMinValue;
}

double TChartValueList::Total() {
    RecalcStats();
    return FTotal;
}

double TChartValueList::TotalABS() {
    RecalcStats();
    return FTotalABS;
}

double TChartValueList::Range() {
    RecalcStats();
    return FMaxValue - FMinValue;
}

void TChartValueList::SetTotalABS(double value) {
    RecalcStats();
    FTotalABS = value;
}

int TChartValueList::Locate(double value) const {
    Materialize();
    const auto it = std::find(FValues.begin(), FValues.end(), value);
    return it == FValues.end() ? -1 : static_cast<int>(it - FValues.begin());
}

void TChartValueList::NotifyOwner() {
    FModified = true;
    if (FOwner)
        FOwner->Repaint();
}

void TChartValueList::Exchange(int index1, int index2) {
    Materialize();
    std::swap(FValues[static_cast<std::size_t>(index1)], FValues[static_cast<std::size_t>(index2)]);
    NotifyOwner();
}

void TChartValueList::FillSequence() {
    Materialize();
    for (std::size_t i = 0; i < FValues.size(); ++i)
        FValues[i] = static_cast<double>(i);
    NotifyOwner();
}

void TChartValueList::Sort() {
    if (FOrder == loNone)
        return;
    if (FOwner) {
        FOwner->SortByValueList(*this);
        return;
    }
    Materialize();
    if (FOrder == loAscending)
        std::stable_sort(FValues.begin(), FValues.end());
    else
        std::stable_sort(FValues.begin(), FValues.end(), std::greater<double>());
    NotifyOwner();
}

void TChartValueList::Reorder(const std::vector<int>& order) {
    Materialize();
    std::vector<double> sorted;
    sorted.reserve(FValues.capacity());
    for (int i : order)
        sorted.push_back(FValues[static_cast<std::size_t>(i)]);
    FValues.swap(sorted);
    FModified = true;
}

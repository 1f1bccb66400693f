#include "chart/ChartEngine/TChartValueList.h"
#include "chart/StoreChanged.h"

#include "chart/ChartEngine/TChartSeries.h"
#include "engine/HugePages.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name)
    : Owner_(owner), Name_(name) {
    if (Owner_)
        Owner_->RegisterValueList(this);
}

TChartValueList::~TChartValueList() {
    if (Owner_)
        Owner_->UnregisterValueList(this);
}

void TChartValueList::SetOrder(TChartListOrder value) {
    Order_ = value;
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

} // namespace

void TChartValueList::Grow() {
    if (Values_.size() < Values_.capacity())
        return;
    Values_.reserve(GrownRoom(Values_.capacity()));
}

void TChartValueList::Reserve(int count) {
    if (count <= 0)
        return;
    if (Consecutive_)
        Room_ = std::max(Room_, static_cast<std::size_t>(count));
    else if (Whole_) {
        if (Ints_.capacity() < static_cast<std::size_t>(count)) {
            Ints_.reserve(static_cast<std::size_t>(count));
            AdviseHugePages(Ints_);
        }
    } else if (Values_.capacity() < static_cast<std::size_t>(count)) {
        Values_.reserve(static_cast<std::size_t>(count));
        AdviseHugePages(Values_);
    }
}

bool TChartValueList::AppendConsecutive(double value) {
    if (!Consecutive_)
        return false;
    const std::size_t n = ConsecutiveCount_;
    const double first = n == 0 ? value : First_;
    // Bit for bit, so that Value gives back exactly what was added (-0.0 and
    // NaN included).
    if (std::bit_cast<std::uint64_t>(first + static_cast<double>(n)) !=
        std::bit_cast<std::uint64_t>(value))
        return false;
    First_ = first;
    if (n == Room_)
        Room_ = GrownRoom(Room_);
    ConsecutiveCount_ = n + 1;
    Modified_ = true;
    return true;
}

void TChartValueList::Materialize() const {
    if (Whole_) {
        Values_.clear();
        Values_.reserve(std::max(Values_.capacity(), Ints_.capacity()));
        AdviseHugePages(Values_);
        Values_.insert(Values_.end(), Ints_.begin(), Ints_.end());
        std::vector<std::int32_t>().swap(Ints_);
        Whole_ = false;
        return;
    }
    if (!Consecutive_)
        return;
    Values_.clear();
    Values_.reserve(std::max(Room_, ConsecutiveCount_));
    AdviseHugePages(Values_);
    for (std::size_t i = 0; i < ConsecutiveCount_; ++i)
        Values_.push_back(First_ + static_cast<double>(i));
    Consecutive_ = false;
}

bool TChartValueList::StoreWhole() {
    if (Whole_)
        return true;
    if (!Consecutive_)
        return false;
    // Doubles already paid for are reused rather than half as many ints made.
    if (Values_.capacity() > 0 && Ints_.capacity() == 0)
        return false;
    const double last = First_ + static_cast<double>(ConsecutiveCount_);
    if (ConsecutiveCount_ > 0 &&
        (std::bit_cast<std::uint64_t>(static_cast<double>(static_cast<std::int32_t>(std::clamp(
             First_, -2147483648.0, 2147483647.0)))) != std::bit_cast<std::uint64_t>(First_) ||
         last - 1 > 2147483647.0))
        return false;
    Ints_.clear();
    Ints_.reserve(std::max({Room_, ConsecutiveCount_, Ints_.capacity()}));
    AdviseHugePages(Ints_);
    const auto first = static_cast<std::int32_t>(First_);
    for (std::size_t i = 0; i < ConsecutiveCount_; ++i)
        Ints_.push_back(first + static_cast<std::int32_t>(i));
    Consecutive_ = false;
    Whole_ = true;
    return true;
}

const double* TChartValueList::Data() const {
    Materialize();
    return Values_.data();
}

const std::vector<double>& TChartValueList::Values() const {
    Materialize();
    return Values_;
}

int TChartValueList::AddChartValue(double value) {
    const int n = Count();
    if (Order_ == loNone || n == 0 || (Order_ == loAscending && value >= Last()) ||
        (Order_ == loDescending && value <= Last())) {
        if (AppendConsecutive(value))
            return n;
        Materialize();
        Grow();
        Values_.push_back(value);
        Modified_ = true;
        return n;
    }
    Materialize();
    int i = n - 1;
    if (Order_ == loAscending) {
        while (i >= 0 && value < Values_[static_cast<std::size_t>(i)])
            --i;
    } else {
        while (i >= 0 && Values_[static_cast<std::size_t>(i)] < value)
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
    Values_.insert(Values_.begin() + index, value);
    Modified_ = true;
}

void TChartValueList::AppendValues(const std::int32_t* values, std::size_t count) {
    std::size_t i = 0;
    if (Consecutive_ && count > 0) {
        // As AppendConsecutive for each value, in one pass.
        const std::size_t n = ConsecutiveCount_;
        const double first = n == 0 ? static_cast<double>(values[0]) : First_;
        while (i < count && std::bit_cast<std::uint64_t>(first + static_cast<double>(n + i)) ==
                                std::bit_cast<std::uint64_t>(static_cast<double>(values[i])))
            ++i;
        if (i > 0) {
            First_ = first;
            ConsecutiveCount_ = n + i;
            while (Room_ < ConsecutiveCount_)
                Room_ = GrownRoom(Room_);
            Modified_ = true;
        }
    }
    if (i == count)
        return;
    Modified_ = true;
    // The room grows in the steps one value at a time would take, then the
    // rest is appended in one pass.
    if (StoreWhole()) {
        while (Ints_.capacity() - Ints_.size() < count - i)
            Ints_.reserve(GrownRoom(Ints_.capacity()));
        Ints_.insert(Ints_.end(), values + i, values + count);
        return;
    }
    Materialize();
    while (Values_.capacity() - Values_.size() < count - i)
        Values_.reserve(GrownRoom(Values_.capacity()));
    Values_.insert(Values_.end(), values + i, values + count);
}

void TChartValueList::SetValue(int index, double value) {
    Materialize();
    Values_[static_cast<std::size_t>(index)] = value;
    Modified_ = true;
    if (Owner_)
        Owner_->NotifyValue(this, index);
}

void TChartValueList::Delete(int index) {
    Delete(index, 1);
}

void TChartValueList::Delete(int start, int quantity) {
    if (start < 0 || start >= Count() || quantity <= 0)
        return;
    const int end = std::min(Count(), start + quantity);
    Materialize();
    Values_.erase(Values_.begin() + start, Values_.begin() + end);
    Modified_ = true;
}

void TChartValueList::ClearValues() {
    // The room is kept: the window clears and refills its series on every display pass.
    Room_ = std::max({Consecutive_ ? Room_ : std::size_t{0}, Values_.capacity(), Ints_.capacity()});
    Values_.clear();
    Ints_.clear();
    Whole_ = false;
    Consecutive_ = true;
    ConsecutiveCount_ = 0;
    Modified_ = true;
}

void TChartValueList::RecalcStats() {
    if (!Modified_)
        return;
    const int n = Count();
    if (n == 0) {
        MinValue_ = MaxValue_ = Total_ = TotalABS_ = 0;
    } else {
        MinValue_ = MaxValue_ = Total_ = Value(0);
        TotalABS_ = std::fabs(Value(0));
        // One loop per form, each as the values are stored.
        const auto add = [this](double v) {
            if (v < MinValue_)
                MinValue_ = v;
            else if (v > MaxValue_)
                MaxValue_ = v;
            Total_ += v;
            TotalABS_ += std::fabs(v);
        };
        if (const std::int32_t* ints = StoredInts())
            for (int i = 1; i < n; ++i)
                add(static_cast<double>(ints[i]));
        else
            for (int i = 1; i < n; ++i)
                add(Value(i));
    }
    Modified_ = false;
}

double TChartValueList::MaxValue() {
    RecalcStats();
    return MaxValue_;
}

double TChartValueList::MinValue() {
    RecalcStats();
    return MinValue_;
}

double TChartValueList::Total() {
    RecalcStats();
    return Total_;
}

double TChartValueList::TotalABS() {
    RecalcStats();
    return TotalABS_;
}

double TChartValueList::Range() {
    RecalcStats();
    return MaxValue_ - MinValue_;
}

void TChartValueList::SetTotalABS(double value) {
    RecalcStats();
    TotalABS_ = value;
}

int TChartValueList::Locate(double value) const {
    Materialize();
    const auto it = std::find(Values_.begin(), Values_.end(), value);
    return it == Values_.end() ? -1 : static_cast<int>(it - Values_.begin());
}

void TChartValueList::NotifyOwner() {
    Modified_ = true;
    if (Owner_)
        Owner_->Repaint();
}

void TChartValueList::Exchange(int index1, int index2) {
    Materialize();
    std::swap(Values_[static_cast<std::size_t>(index1)], Values_[static_cast<std::size_t>(index2)]);
    NotifyOwner();
}

void TChartValueList::FillSequence() {
    Materialize();
    for (std::size_t i = 0; i < Values_.size(); ++i)
        Values_[i] = static_cast<double>(i);
    NotifyOwner();
}

void TChartValueList::Sort() {
    if (Order_ == loNone)
        return;
    if (Owner_) {
        Owner_->SortByValueList(*this);
        return;
    }
    Materialize();
    if (Order_ == loAscending)
        std::stable_sort(Values_.begin(), Values_.end());
    else
        std::stable_sort(Values_.begin(), Values_.end(), std::greater<double>());
    NotifyOwner();
}

void TChartValueList::Reorder(const std::vector<int>& order) {
    Materialize();
    std::vector<double> sorted;
    sorted.reserve(Values_.capacity());
    for (int i : order)
        sorted.push_back(Values_[static_cast<std::size_t>(i)]);
    Values_.swap(sorted);
    Modified_ = true;
}

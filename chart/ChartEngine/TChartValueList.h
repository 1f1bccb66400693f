#pragma once
// One coordinate (X, Y, or a kind's extra list) of all points of a series.

#include "chart/ChartEngine/ChartEngineTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TChartSeries;

class TChartValueList {
public:
    // Registers itself in the owner's value-list list (when an owner is given).
    TChartValueList(TChartSeries* owner, const std::string& name);
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;
    ~TChartValueList();

    TChartSeries* Owner() const { return Owner_; }

    const std::string& Name() const { return Name_; }
    void SetName(const std::string& value) { Name_ = value; }
    TChartListOrder Order() const { return Order_; }
    void SetOrder(TChartListOrder value);
    bool DateTime() const { return DateTime_; }
    const std::string& ValueSource() const { return ValueSource_; }
    void SetValueSource(const std::string& value) { ValueSource_ = value; }

    int Count() const {
        return static_cast<int>(Consecutive_ ? ConsecutiveCount_
                                : Whole_     ? Ints_.size()
                                             : Values_.size());
    }
    // Reserved room; grows by ChartDefaultCapacity whenever a value does not fit.
    int Capacity() const {
        return static_cast<int>(Consecutive_ ? Room_
                                : Whole_     ? Ints_.capacity()
                                             : Values_.capacity());
    }
    // Room for count values in all (never shrinks).
    void Reserve(int count);
    // The values themselves, contiguous; valid until the next change of the list.
    // Stores consecutive values from then on: hot paths read Value instead.
    const double* Data() const;
    const std::vector<double>& Values() const;
    // True while no value is stored because each is First() + its index.
    bool Consecutive() const { return Consecutive_; }
    // The values as stored, without converting them: doubles, or the 32-bit
    // integers of a list filled by AppendValues; null when stored otherwise.
    const double* StoredDoubles() const {
        return Consecutive_ || Whole_ ? nullptr : Values_.data();
    }
    const std::int32_t* StoredInts() const {
        return !Consecutive_ && Whole_ ? Ints_.data() : nullptr;
    }

    double Value(int index) const {
        const auto i = static_cast<std::size_t>(index);
        return Consecutive_ ? First_ + static_cast<double>(index)
               : Whole_     ? static_cast<double>(Ints_[i])
                            : Values_[i];
    }
    double operator[](int index) const { return Value(index); }
    double GetValue(int index) const { return Value(index); }
    // Stores and notifies the owner that a value was modified.
    void SetValue(int index, double value);

    // Ordered insertion by Order; returns the index the value now stands at.
    int AddChartValue(double value);
    void InsertChartValue(int index, double value);
    // Appends values[0 .. count-1] as count InsertChartValue(Count(), v) would.
    void AppendValues(const std::int32_t* values, std::size_t count);
    void Delete(int index);
    void Delete(int start, int quantity);
    void ClearValues();

    double First() const { return Value(0); }
    double Last() const { return Value(Count() - 1); }

    // Statistics, recomputed on first read after a change.
    double MaxValue();
    double MinValue();
    double Total();
    double TotalABS();
    double Range();
    void SetTotalABS(double value); // used by kinds that group values (pie "Other")

    int Locate(double value) const;
    void Exchange(int index1, int index2);
    void FillSequence();
    // Sorts the whole series by this list (every list, colours and labels follow).
    void Sort();
    // Puts old value order[i] at index i (order is a permutation of 0..Count-1).
    void Reorder(const std::vector<int>& order);

    bool Modified() const { return Modified_; }

    // Staged by AddXY for lists beyond X and Y.
    double TempValue = 0;

private:
    void Grow();
    // Appends without storing when value is the next of a consecutive list.
    bool AppendConsecutive(double value);
    // Leaves the consecutive and the integer forms: every value stored as a
    // double, the room kept.
    void Materialize() const;
    // Leaves the consecutive form for 32-bit integers when its values are such.
    bool StoreWhole();
    void RecalcStats();
    void NotifyOwner();

    TChartSeries* Owner_;
    std::string Name_;
    TChartListOrder Order_ = loNone;
    bool DateTime_ = false;
    std::string ValueSource_;
    // A list of First_, First_ + 1, ... (a run's play numbers) keeps only its
    // first value, count and room; the values are stored once one breaks the
    // sequence or someone asks for them contiguously.
    mutable bool Consecutive_ = true;
    double First_ = 0;
    std::size_t ConsecutiveCount_ = 0;
    std::size_t Room_ = 0;
    mutable std::vector<double> Values_;
    // A line filled from 32-bit integers (a run's balances) keeps them as
    // such, half the memory of doubles, until a value of another kind comes.
    mutable bool Whole_ = false;
    mutable std::vector<std::int32_t> Ints_;
    bool Modified_ = true;
    double MaxValue_ = 0;
    double MinValue_ = 0;
    double Total_ = 0;
    double TotalABS_ = 0;
};

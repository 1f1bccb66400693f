#pragma once
// Every chart step of the display pass and of the marker check boxes goes
// through here, so the window's pass stays in its fixed order whatever the
// charts do with the points.

#include "runfile/RunRecords.h"

#include <cstddef>
#include <string>

class TChart;
class TLineSeries;
class TBarSeries;
class TPieSeries;

class ChartFeeding {
public:
    // Any chart may be null (not created); its steps then do nothing. The
    // five series are created here and handed to their charts, which own
    // them from then on.
    ChartFeeding(TChart* slumpChart, TChart* slumpChart2, TChart* keizokuChart);

    // Once, when the window is built: the charts' and series' settings.
    void Configure();
    // Pass step 1: clear the five series.
    void ClearSeries();
    // Pass step 4: the slump graph's bottom axis runs 1..recordCount.
    void SetBottomAxisRange(std::size_t recordCount);
    // Pass step 5, record i is a hit (HitStates 1 or 2): its win/loss marker.
    void AddHitMarker(const RunRecords& records, std::size_t i);
    // Pass step 5, record i ends a chain; firstHits is F after counting it.
    void AddFirstHitBar(const RunRecords& records, std::size_t i, int firstHits);
    // Pass step 6: the slump line through all records.
    void AddSlumpLine(const RunRecords& records);
    // Pass step 7: the slice of continuation bucket k (1..30) with its row caption.
    void AddKeizokuSlice(int k, int count, const std::string& caption);
    // The marker check boxes.
    void ShowWinMarkers(bool visible);
    void ShowLossMarkers(bool visible);

    // The series by their form names (null when their chart is missing).
    TLineSeries* SlumpSeries() const { return slumpSeries_; }
    TLineSeries* CheckPoint1() const { return checkPoint1_; }
    TLineSeries* CheckPoint2() const { return checkPoint2_; }
    TBarSeries* SlumpBSeries() const { return slumpBSeries_; }
    TPieSeries* KeizokuSeries() const { return keizokuSeries_; }

private:
    void ConfigureSlumpChart();
    void ConfigureSlumpChart2();
    void ConfigureKeizokuChart();
    void BeginBatch();
    void EndBatch();

    TChart* slumpChart_;
    TChart* slumpChart2_;
    TChart* keizokuChart_;
    // Owned by their charts.
    TLineSeries* slumpSeries_ = nullptr;
    TLineSeries* checkPoint1_ = nullptr;
    TLineSeries* checkPoint2_ = nullptr;
    TBarSeries* slumpBSeries_ = nullptr;
    TPieSeries* keizokuSeries_ = nullptr;
    bool batching_ = false; // a pass is adding markers and bars
};

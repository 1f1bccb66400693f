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
    // A new run or an opened file: both axis charts unzoomed, as a freshly
    // started window shows them, with no zoom left to undo.
    void ResetZoom();
    // A pass starts: clear the five series; markers and bars then wait for
    // the line before they ask for a repaint.
    void ClearSeries();
    // The slump graph's bottom axis runs 1..recordCount (at least 1..1);
    // a zoom or pan made during the run holds, and its undo shows 1..recordCount.
    void SetBottomAxisRange(std::size_t recordCount);
    // Record i is a hit: a win marker in the chance mode, a loss marker for
    // a single bonus.
    void AddHitMarker(const RunRecords& records, std::size_t i);
    // Record i ends a chain: a bar of its plays since the last chain, at the
    // position of firstHits, the chain ends counted so far with this one.
    void AddFirstHitBar(const RunRecords& records, std::size_t i, int firstHits);
    // The slump line through all records; this ends the pass's batch of repaints.
    void AddSlumpLine(const RunRecords& records);
    // One slice of the continuation pie, named by its table row's caption.
    void AddKeizokuSlice(int count, const std::string& caption);
    // The marker check boxes.
    void ShowWinMarkers(bool visible);
    void ShowLossMarkers(bool visible);

    // The series by their form names (null when their chart is missing).
    TLineSeries* SlumpSeries() const { return SlumpSeries_; }
    TLineSeries* CheckPoint1() const { return CheckPoint1_; }
    TLineSeries* CheckPoint2() const { return CheckPoint2_; }
    TBarSeries* SlumpBSeries() const { return SlumpBSeries_; }
    TPieSeries* KeizokuSeries() const { return KeizokuSeries_; }

private:
    void ConfigureSlumpChart();
    void AddSlumpSeries(TChart& chart);
    void ConfigureSlumpChart2();
    void ConfigureKeizokuChart();
    void BeginBatch();
    void EndBatch();

    TChart* SlumpChart_;
    TChart* SlumpChart2_;
    TChart* KeizokuChart_;
    // Owned by their charts.
    TLineSeries* SlumpSeries_ = nullptr;
    TLineSeries* CheckPoint1_ = nullptr;
    TLineSeries* CheckPoint2_ = nullptr;
    TBarSeries* SlumpBSeries_ = nullptr;
    TPieSeries* KeizokuSeries_ = nullptr;
    bool Batching_ = false; // a pass is adding markers and bars
};

#pragma once
// Every chart step of the display pass and of the marker check boxes goes
// through here, so the window's pass stays in its fixed order whatever the
// charts do with the points.

#include "runfile/RunRecords.h"

#include <cstddef>
#include <string>

class TChart;

class ChartFeeding {
public:
    // Any chart may be null (not created); its steps then do nothing.
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

private:
    TChart* slumpChart_;
    TChart* slumpChart2_;
    TChart* keizokuChart_;
};

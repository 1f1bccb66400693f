#pragma once
// The labelled boxes a series draws beside its points, with their callout arrows,
// stored positions (custom positions override automatic placement) and hit test.

#include "chart/ChartEngine/ChartEngineTypes.h"
#include "chart/ChartEngine/TSeriesMarkPosition.h"
#include "chart/ChartPanel/TChartCustomShape.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TChartSeries;
class TMarksCallout;

class TSeriesMarks : public TChartCustomShape {
public:
    explicit TSeriesMarks(TChartSeries* series);
    ~TSeriesMarks() override;

    TChartSeries* ParentSeries() const { return FSeries; }

    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle value);
    // Degrees; used modulo 360.
    int Angle() const { return FAngle; }
    void SetAngle(int value);
    bool Clip() const { return FClip; }
    void SetClip(bool value);
    int DrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    TColor BackColor() const { return Color(); }
    void SetBackColor(TColor value) { SetColor(value); }

    TMarksCallout& Callout() const { return *FCallout; }
    TChartPen& Arrow() const;
    int ArrowLength() const;
    void SetArrowLength(int value);

    // Depth the marks are drawn at (set by the series before drawing).
    int ZPosition = 0;

    // Stored positions by value index; an entry is empty where no mark was drawn.
    std::vector<std::optional<TSeriesMarkPosition>>& Positions() { return FPositions; }
    const std::vector<std::optional<TSeriesMarkPosition>>& Positions() const { return FPositions; }
    // The stored position of a mark (null when none).
    TSeriesMarkPosition* Position(int valueIndex);
    // Makes a user position for a mark; it overrides automatic placement.
    void SetCustomPosition(int valueIndex, const TSeriesMarkPosition& position);
    // Per-point mark items; a point without its own item uses the marks themselves.
    TChartCustomShape& MarkItem(int valueIndex) const;

    // Stored position for i: a custom one replaces position, else position is stored.
    void UsePosition(int valueIndex, TSeriesMarkPosition& position);
    // Callout, box and text of one mark.
    void InternalDraw(int valueIndex, TColor color, TSeriesMarkPosition& position,
                      const std::string& text);
    // Writes the (multi-line) text centred in rect, rotated by Angle.
    void DrawText(const TRect& rect, const std::string& text);
    // Moves the mark vertically off each earlier mark it overlaps.
    void AntiOverlap(int firstIndex, int valueIndex, TSeriesMarkPosition& position);
    // In 3D, the box keeps its offset from the arrow end projected at ZPosition.
    void ConvertTo2D(const TSeriesMarkPosition& position, TPoint& point) const;
    void ApplyArrowLength(TSeriesMarkPosition& position) const;
    // Index of the mark whose box holds (x, y), else -1.
    int Clicked(int x, int y) const;
    void ResetPositions();
    // Drops positions and items (the series' values were cleared).
    void Clear();
    // Removes the position and item of one point (the point was deleted).
    void DeletePosition(int valueIndex);

    // Box size for a text in the current canvas font: widest line + "W", lines x height,
    // plus the frame (or 1 in height without it).
    void CalcBoxSize(const std::string& text, int& width, int& height) const;
    // Text lines split at ChartLineSeparator; lines after the first keep at most 255 chars.
    static std::vector<std::string> SplitLines(const std::string& text);

private:
    TRect OverlapRect(const TSeriesMarkPosition& position) const;
    void DrawBox(TChartCanvas3D& canvas, const TRect& rect, TColor color);

    TChartSeries* FSeries;
    TSeriesMarksStyle FStyle = smsLabel;
    int FAngle = 0;
    bool FClip = false;
    int FDrawEvery = 1;
    bool FMultiLine = false;
    std::unique_ptr<TMarksCallout> FCallout;
    std::vector<std::optional<TSeriesMarkPosition>> FPositions;
    std::vector<std::unique_ptr<TChartCustomShape>> FItems;
};

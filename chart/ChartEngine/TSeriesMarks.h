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

    TChartSeries* ParentSeries() const { return Series_; }

    TSeriesMarksStyle Style() const { return Style_; }
    void SetStyle(TSeriesMarksStyle value);
    // Degrees; used modulo 360.
    int Angle() const { return Angle_; }
    void SetAngle(int value);
    bool Clip() const { return Clip_; }
    void SetClip(bool value);
    int DrawEvery() const { return DrawEvery_; }
    void SetDrawEvery(int value);
    bool MultiLine() const { return MultiLine_; }
    void SetMultiLine(bool value);
    TColor BackColor() const { return Color(); }
    void SetBackColor(TColor value) { SetColor(value); }

    TMarksCallout& Callout() const { return *Callout_; }
    TChartPen& Arrow() const;
    int ArrowLength() const;
    void SetArrowLength(int value);

    // Depth the marks are drawn at (set by the series before drawing).
    int ZPosition = 0;

    // Stored positions by value index; an entry is empty where no mark was drawn.
    std::vector<std::optional<TSeriesMarkPosition>>& Positions() { return Positions_; }
    const std::vector<std::optional<TSeriesMarkPosition>>& Positions() const { return Positions_; }
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

    TChartSeries* Series_;
    TSeriesMarksStyle Style_ = smsLabel;
    int Angle_ = 0;
    bool Clip_ = false;
    int DrawEvery_ = 1;
    bool MultiLine_ = false;
    std::unique_ptr<TMarksCallout> Callout_;
    std::vector<std::optional<TSeriesMarkPosition>> Positions_;
    std::vector<std::unique_ptr<TChartCustomShape>> Items_;
};

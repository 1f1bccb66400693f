#pragma once
// First layer of the chart control: geometry, margins, 3D switches, border
// and bevels, the canvas and the repaint switch. It is hosted in a window
// through platform's control host.

#include "chart/ChartPanel/ChartPanelTypes.h"
#include "chart/StoreChanged.h"
#include "platform/ControlHostClient.h"
#include "platform/GraphicsTypes.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;
class DrawContext;
class TChartCanvas3D;
class TView3DOptions;
class TChartPen;
class TChartShadow;
class TChartSeries;
class TCustomChartPanel;

// Receives the chart's broadcasts (3D switched, series added, removed, ...).
class TChartListener {
public:
    virtual ~TChartListener() = default;
    virtual void View3DChanged(TCustomChartPanel& /*chart*/) {}
    virtual void SeriesEvent(TChartSeriesEvent /*event*/, TChartSeries* /*series*/) {}
};

class TCustomChartPanel : public ControlHostClient {
public:
    // A null parent gives a hidden top-level host (off-screen use and tests).
    explicit TCustomChartPanel(QWidget* parent);
    ~TCustomChartPanel() override;

    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // Control geometry (pixels in the parent window). Created 400 x 250.
    void SetBounds(int left, int top, int width, int height);
    int Left() const { return Left_; }
    int Top() const { return Top_; }
    int Width() const { return Width_; }
    int Height() const { return Height_; }
    TRect GetClientRect() const { return {0, 0, Width_, Height_}; }

    int MarginLeft() const { return MarginLeft_; }
    int MarginTop() const { return MarginTop_; }
    int MarginRight() const { return MarginRight_; }
    int MarginBottom() const { return MarginBottom_; }
    TMarginUnits MarginUnits() const { return MarginUnits_; }
    void SetMarginLeft(int value);
    void SetMarginTop(int value);
    void SetMarginUnits(TMarginUnits value);

    bool View3D() const { return View3D_; }
    // Stores, repaints, then tells the listeners.
    void SetView3D(bool value);
    TView3DOptions& View3DOptions() const { return *View3DOptions_; }
    int Chart3DPercent() const { return Chart3DPercent_; }
    // Throws std::invalid_argument outside 1..100 and keeps the old value.
    void SetChart3DPercent(int value);

    TColor Color() const { return Color_; }
    void SetColor(TColor value);
    TPanelBevel BevelOuter() const { return BevelOuter_; }
    TPanelBevel BevelInner() const { return BevelInner_; }
    int BevelWidth() const { return BevelWidth_; }
    int BorderWidth() const { return BorderWidth_; }
    int BorderRound() const { return BorderRound_; }
    void SetBevelOuter(TPanelBevel value);
    void SetBevelInner(TPanelBevel value);
    void SetBevelWidth(int value);
    void SetBorderWidth(int value);
    TChartPen& Border() const { return *Border_; }
    TChartShadow& Shadow() const { return *Shadow_; }
    bool Monochrome() const { return Monochrome_; }
    void SetMonochrome(bool value);

    TChartCanvas3D& Canvas() const { return *Canvas_; }

    // The repaint switch: while off, repaint requests are ignored.
    bool AutoRepaint() const { return AutoRepaint_; }
    void SetAutoRepaint(bool value) { AutoRepaint_ = value; }
    // Marks the buffered image stale and asks the window for one repaint.
    void Invalidate();
    // Repaint requests issued so far (those ignored by the switch not counted).
    int RepaintRequestCount() const { return RepaintRequests_; }
    // Paints at once, outside the message queue (animated zoom frames).
    void Repaint();
    // Shows the buffered image again without drawing (after drawing into
    // the buffer between paints, e.g. the rubber band).
    void RefreshImage();
    // Full draws run so far (not counting re-shown buffered images).
    int DrawCount() const { return DrawCount_; }

    // Window paint: re-shows the still-valid buffered image, else draws.
    void Paint(DrawContext& target);
    // Full draw of the control into target over rect.
    void Draw(DrawContext& target, const TRect& rect);

    // Working geometry, recomputed on every full draw.
    TRect ChartBounds{};
    TRect ChartRect{};
    int ChartWidth = 0;
    int ChartHeight = 0;
    int ChartXCenter = 0;
    int ChartYCenter = 0;
    int Width3D = 0;  // depth of one series slot
    int Height3D = 0; // its vertical counterpart
    int SeriesWidth3D = 0;
    int SeriesHeight3D = 0;

    // Chart rectangle from the bounds, the margins and the frame.
    TRect CalcChartRectFromBounds(const TRect& bounds) const;
    // Frame width: border width, bevels and the visible border pen.
    int FrameWidth() const;
    // Keeps the chart rectangle non-empty and updates width, height, centre.
    void RecalcWidthHeight();
    // 3D depth of one slot and of `slotCount` slots (all 0 in 2D).
    void CalcSize3D(int slotCount);

    // Draws the border and the bevels over rect and shrinks it by them.
    void DrawBorderAndBevels(TRect& rect);

    void AddListener(TChartListener* listener);
    void RemoveListener(TChartListener* listener);
    const std::vector<TChartListener*>& Listeners() const { return Listeners_; }

    TCursor Cursor() const { return Cursor_; }
    void SetCursor(TCursor cursor);
    // The host widget, or null when its window destroyed it.
    ControlHostHandle* Host() const { return Host_; }

    // Mouse entry points (the host forwards here; tests call them directly).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseWheel(int delta, TShiftState shift, int x, int y);
    virtual void MouseLeave();

    // ControlHostClient
    void HostPaint(DrawContext& target, const TRect& clientRect) override;
    void HostMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void HostMouseMove(TShiftState shift, int x, int y) override;
    void HostMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void HostMouseWheel(int delta, TShiftState shift, int x, int y) override;
    void HostMouseLeave() override;
    void HostResized(int width, int height) override;
    void HostDestroyed() override;

protected:
    // The paint pipeline of the upper layers, drawing into Canvas().
    virtual void InternalDraw(const TRect& userRect) = 0;
    // Colour behind the chart used by the panel shadow.
    virtual TColor ParentColor() const;
    // Draws the panel background (shadow, gradient or colour, border, bevels).
    void PanelPaint(TRect rect);
    // Fills rect with the background gradient when one is shown.
    virtual bool DrawBackgroundGradient(const TRect& rect) {
        (void)rect;
        return false;
    }
    void DrawBevel(TRect& rect, TPanelBevel bevel);

private:
    int Left_ = 0;
    int Top_ = 0;
    int Width_ = 400;
    int Height_ = 250;
    int MarginLeft_ = 3;
    int MarginTop_ = 4;
    int MarginRight_ = 3;
    int MarginBottom_ = 4;
    TMarginUnits MarginUnits_ = muPercent;
    bool View3D_ = true;
    int Chart3DPercent_ = 15;
    TColor Color_ = clBtnFace;
    TPanelBevel BevelOuter_ = bvRaised;
    TPanelBevel BevelInner_ = bvNone;
    int BevelWidth_ = 1;
    int BorderWidth_ = 0;
    int BorderRound_ = 0;
    bool Monochrome_ = false;
    bool AutoRepaint_ = false;
    int RepaintRequests_ = 0;
    int DrawCount_ = 0;
    TCursor Cursor_ = crDefault;
    std::unique_ptr<TChartCanvas3D> Canvas_;
    std::unique_ptr<TView3DOptions> View3DOptions_;
    std::unique_ptr<TChartPen> Border_;
    std::unique_ptr<TChartShadow> Shadow_;
    std::vector<TChartListener*> Listeners_;
    ControlHostHandle* Host_ = nullptr;

protected:
    // Layers turn the switch on when they are complete.
    void FinishCreation() { AutoRepaint_ = true; }
};

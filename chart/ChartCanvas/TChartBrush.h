#pragma once
// A brush of a chart element. Color starts as clDefault: the owner resolves it
// to its own colour before drawing. A non-empty Image paints instead of Color.

#include "platform/DrawContext.h"

#include <functional>
#include <memory>

class TChartBrush {
public:
    TChartBrush() = default;
    explicit TChartBrush(std::function<void()> onChange) : OnChange(std::move(onChange)) {}
    virtual ~TChartBrush() = default;
    TChartBrush(const TChartBrush&) = delete;
    TChartBrush& operator=(const TChartBrush&) = delete;

    TColor Color() const { return Color_; }
    TBrushStyle Style() const { return Style_; }
    // Null or empty when the brush has no picture.
    const std::shared_ptr<const TRasterImage>& Image() const { return Image_; }
    bool HasImage() const { return Image_ && !Image_->Empty(); }

    void SetColor(TColor value);
    void SetStyle(TBrushStyle value);
    void SetImage(std::shared_ptr<const TRasterImage> value);
    void ClearImage() { SetImage(nullptr); }
    virtual void Assign(const TChartBrush& source);

    std::function<void()> OnChange;

protected:
    void Changed();
    TColor Color_ = clDefault;
    TBrushStyle Style_ = bsSolid;
    std::shared_ptr<const TRasterImage> Image_;
};

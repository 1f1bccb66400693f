#pragma once
// A font of a chart element. Size is in points at 96 pixels per inch; Height
// in pixels (negative: character height), kept in step the way the desktop
// does (Height = -MulDiv(Size, 96, 72)). Outline, shadow and gradient are
// created on first use.

#include "platform/DrawContext.h"

#include <functional>
#include <memory>
#include <string>

class TChartHiddenPen;
class TChartShadow;
class TChartFontGradient;

class TChartFont {
public:
    TChartFont();
    explicit TChartFont(std::function<void()> onChange);
    virtual ~TChartFont();
    TChartFont(const TChartFont&) = delete;
    TChartFont& operator=(const TChartFont&) = delete;

    TColor Color() const { return Color_; }
    const std::string& Name() const { return Name_; }
    int Size() const;
    int Height() const { return Height_; }
    int Style() const { return Style_; } // fsBold | fsItalic | fsUnderline | fsStrikeOut
    int Charset() const { return Charset_; }
    int InterCharSize() const { return InterCharSize_; }

    void SetColor(TColor value);
    void SetName(const std::string& value);
    void SetSize(int value);
    void SetHeight(int value);
    void SetStyle(int value);
    void SetCharset(int value);
    void SetInterCharSize(int value);
    virtual void Assign(const TChartFont& source);

    // Created on first use.
    TChartHiddenPen& OutLine();
    TChartShadow& Shadow();
    TChartFontGradient& Gradient();
    // Without creating them.
    bool HasOutLine() const { return OutLine_ != nullptr; }
    bool HasShadow() const { return Shadow_ != nullptr; }
    bool HasGradient() const { return Gradient_ != nullptr; }
    const TChartHiddenPen* OutLinePtr() const { return OutLine_.get(); }
    const TChartShadow* ShadowPtr() const { return Shadow_.get(); }
    const TChartFontGradient* GradientPtr() const { return Gradient_.get(); }

    // The platform font for this chart font (no rotation, no zoom).
    TFontDesc Desc() const;

    std::function<void()> OnChange;

private:
    void Changed();
    TColor Color_ = clBlack;
    std::string Name_;
    int Height_ = 0;
    int Style_ = 0;
    int Charset_ = 1;
    int InterCharSize_ = 0;
    std::unique_ptr<TChartHiddenPen> OutLine_;
    std::unique_ptr<TChartShadow> Shadow_;
    std::unique_ptr<TChartFontGradient> Gradient_;
};

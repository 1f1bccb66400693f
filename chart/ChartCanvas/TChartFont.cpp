#include "chart/ChartCanvas/TChartFont.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartFontGradient.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartShadow.h"

#include <cstdlib>

namespace {

constexpr int kPixelsPerInch = 96;

// a * b / c rounded half away from zero, as the desktop's MulDiv.
int MulDiv(int a, int b, int c) {
    const long long p = (long long)a * b;
    const long long q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return int(((p < 0) != (c < 0)) ? -q : q);
}

} // namespace

TChartFont::TChartFont() : TChartFont(std::function<void()>()) {}

TChartFont::TChartFont(std::function<void()> onChange)
    : OnChange(std::move(onChange)), Name_(GetDefaultFontName()),
      Height_(-MulDiv(GetDefaultFontSize(), kPixelsPerInch, 72)) {}

TChartFont::~TChartFont() = default;

void TChartFont::Changed() {
    if (OnChange)
        OnChange();
}

int TChartFont::Size() const {
    return -MulDiv(Height_, 72, kPixelsPerInch);
}

void TChartFont::SetColor(TColor value) {
    if (Color_ != value) {
        Color_ = value;
        Changed();
    }
}

void TChartFont::SetName(const std::string& value) {
    if (Name_ != value) {
        Name_ = value;
        Changed();
    }
}

void TChartFont::SetSize(int value) {
    SetHeight(-MulDiv(value, kPixelsPerInch, 72));
}

void TChartFont::SetHeight(int value) {
    if (Height_ != value) {
        Height_ = value;
        Changed();
    }
}

void TChartFont::SetStyle(int value) {
    if (Style_ != value) {
        Style_ = value;
        Changed();
    }
}

void TChartFont::SetCharset(int value) {
    if (Charset_ != value) {
        Charset_ = value;
        Changed();
    }
}

void TChartFont::SetInterCharSize(int value) {
    if (InterCharSize_ != value) {
        InterCharSize_ = value;
        Changed();
    }
}

void TChartFont::Assign(const TChartFont& source) {
    SetColor(source.Color_);
    SetName(source.Name_);
    SetHeight(source.Height_);
    SetStyle(source.Style_);
    SetCharset(source.Charset_);
    SetInterCharSize(source.InterCharSize_);
    if (source.OutLine_)
        OutLine().Assign(*source.OutLine_);
    if (source.Shadow_)
        Shadow().Assign(*source.Shadow_);
    if (source.Gradient_)
        Gradient().Assign(*source.Gradient_);
}

TChartHiddenPen& TChartFont::OutLine() {
    if (!OutLine_)
        OutLine_ = std::make_unique<TChartHiddenPen>([this] { Changed(); });
    return *OutLine_;
}

TChartShadow& TChartFont::Shadow() {
    if (!Shadow_)
        Shadow_ = std::make_unique<TChartShadow>([this] { Changed(); });
    return *Shadow_;
}

TChartFontGradient& TChartFont::Gradient() {
    if (!Gradient_)
        Gradient_ = std::make_unique<TChartFontGradient>([this] { Changed(); });
    return *Gradient_;
}

TFontDesc TChartFont::Desc() const {
    TFontDesc d;
    d.Name = Name_;
    d.Size = Size();
    d.Height = Height_;
    d.Style = Style_;
    d.CharSpacing = InterCharSize_;
    return d;
}

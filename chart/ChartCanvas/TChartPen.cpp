#include "chart/ChartCanvas/TChartPen.h"

void TChartPen::Changed() {
    if (OnChange)
        OnChange();
}

#define PEN_SETTER(Name, Type)                                                                     \
    void TChartPen::Set##Name(Type value) {                                                        \
        if (Name##_ != value) {                                                                    \
            Name##_ = value;                                                                       \
            Changed();                                                                             \
        }                                                                                          \
    }

PEN_SETTER(Color, TColor)
PEN_SETTER(Width, int)
PEN_SETTER(Style, TPenStyle)
PEN_SETTER(Mode, TPenMode)
PEN_SETTER(Visible, bool)
PEN_SETTER(SmallDots, bool)
PEN_SETTER(EndStyle, TPenEndStyle)

void TChartPen::Assign(const TChartPen& source) {
    SetColor(source.Color_);
    SetWidth(source.Width_);
    SetStyle(source.Style_);
    SetMode(source.Mode_);
    SetVisible(source.Visible_);
    SetSmallDots(source.SmallDots_);
    SetEndStyle(source.EndStyle_);
}

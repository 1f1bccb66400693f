#include "chart/ChartCanvas/TView3DOptions.h"

void TView3DOptions::Changed() {
    if (OnChange)
        OnChange();
}

#define VIEW_SETTER(Name, Type)                                                                    \
    void TView3DOptions::Set##Name(Type value) {                                                   \
        if (Name##_ != value) {                                                                    \
            Name##_ = value;                                                                       \
            Changed();                                                                             \
        }                                                                                          \
    }

VIEW_SETTER(Elevation, int)
VIEW_SETTER(OrthoAngle, int)
VIEW_SETTER(Orthogonal, bool)
VIEW_SETTER(Perspective, int)
VIEW_SETTER(Rotation, int)
VIEW_SETTER(Tilt, int)
VIEW_SETTER(ZoomText, bool)

void TView3DOptions::SetHorizOffset(int value) {
    if (HorizOffset_ == value)
        return;
    HorizOffset_ = value;
    Changed();
    if (OnScrolled)
        OnScrolled(true);
}

void TView3DOptions::SetVertOffset(int value) {
    if (VertOffset_ == value)
        return;
    VertOffset_ = value;
    Changed();
    if (OnScrolled)
        OnScrolled(false);
}

void TView3DOptions::SetZoom(int value) {
    if (Zoom_ == value)
        return;
    if (OnZoomChanged)
        OnZoomChanged(value);
    Zoom_ = value;
    Changed();
}

void TView3DOptions::Assign(const TView3DOptions& source) {
    SetElevation(source.Elevation_);
    SetHorizOffset(source.HorizOffset_);
    SetOrthoAngle(source.OrthoAngle_);
    SetOrthogonal(source.Orthogonal_);
    SetPerspective(source.Perspective_);
    SetRotation(source.Rotation_);
    SetTilt(source.Tilt_);
    SetVertOffset(source.VertOffset_);
    SetZoom(source.Zoom_);
    SetZoomText(source.ZoomText_);
}

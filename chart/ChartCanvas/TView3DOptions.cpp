#include "chart/ChartCanvas/TView3DOptions.h"

void TView3DOptions::Changed() {
    if (OnChange)
        OnChange();
}

void TView3DOptions::SetHorizOffset(int value) {
    if (!StoreChanged(HorizOffset_, value))
        return;
    Changed();
    if (OnScrolled)
        OnScrolled(true);
}

void TView3DOptions::SetVertOffset(int value) {
    if (!StoreChanged(VertOffset_, value))
        return;
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

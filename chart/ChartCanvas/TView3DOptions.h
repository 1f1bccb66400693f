#pragma once
// The chart's 3D view: angles in degrees, offsets in pixels, zoom in percent.

#include "chart/StoreChanged.h"
#include <functional>

class TView3DOptions {
public:
    TView3DOptions() = default;
    TView3DOptions(const TView3DOptions&) = delete;
    TView3DOptions& operator=(const TView3DOptions&) = delete;

    int Elevation() const { return Elevation_; }
    int HorizOffset() const { return HorizOffset_; }
    int OrthoAngle() const { return OrthoAngle_; }
    bool Orthogonal() const { return Orthogonal_; }
    int Perspective() const { return Perspective_; }
    int Rotation() const { return Rotation_; }
    int Tilt() const { return Tilt_; }
    int VertOffset() const { return VertOffset_; }
    int Zoom() const { return Zoom_; }
    bool ZoomText() const { return ZoomText_; }

    void SetElevation(int value) {
        if (StoreChanged(Elevation_, value))
            Changed();
    }
    void SetHorizOffset(int value);
    void SetOrthoAngle(int value) {
        if (StoreChanged(OrthoAngle_, value))
            Changed();
    }
    void SetOrthogonal(bool value) {
        if (StoreChanged(Orthogonal_, value))
            Changed();
    }
    void SetPerspective(int value) {
        if (StoreChanged(Perspective_, value))
            Changed();
    }
    void SetRotation(int value) {
        if (StoreChanged(Rotation_, value))
            Changed();
    }
    void SetTilt(int value) {
        if (StoreChanged(Tilt_, value))
            Changed();
    }
    void SetVertOffset(int value);
    void SetZoom(int value);
    void SetZoomText(bool value) {
        if (StoreChanged(ZoomText_, value))
            Changed();
    }
    // Copies every property (one repaint per real change).
    void Assign(const TView3DOptions& source);

    // The owning chart's repaint.
    std::function<void()> OnChange;
    // Called with the new zoom before it is stored.
    std::function<void(int)> OnZoomChanged;
    // Called after an offset is stored: true horizontal, false vertical.
    std::function<void(bool)> OnScrolled;

private:
    void Changed();

    int Elevation_ = 345;
    int HorizOffset_ = 0;
    int OrthoAngle_ = 45;
    bool Orthogonal_ = true;
    int Perspective_ = 15;
    int Rotation_ = 345;
    int Tilt_ = 0;
    int VertOffset_ = 0;
    int Zoom_ = 100;
    bool ZoomText_ = true;
};

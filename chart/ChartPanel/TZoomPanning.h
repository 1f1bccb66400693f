#pragma once
// A mouse drag in progress: start corner (X0, Y0) and current corner (X1, Y1).

class TZoomPanning {
public:
    TZoomPanning() = default;
    virtual ~TZoomPanning() = default;

    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;

    // Starts a drag with both corners at (x, y).
    void Activate(int x, int y);
    // Orders the corners so that X0 <= X1 and Y0 <= Y1.
    void Check();
};

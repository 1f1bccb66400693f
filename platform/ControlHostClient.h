#pragma once
// The window-system side of a custom-drawn control, seen without Qt headers:
// the client interface a hosted control implements, and the handle through
// which it talks to its host widget.

#include "platform/GraphicsTypes.h"
#include "platform/InputTypes.h"

#include <string>

class QWidget;
class DrawContext;

// What a hosted control implements. Coordinates are client pixels.
class ControlHostClient {
public:
    virtual ~ControlHostClient() = default;
    // Draws the whole client area into the given context.
    virtual void HostPaint(DrawContext& target, const TRect& clientRect) = 0;
    virtual void HostMouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void HostMouseMove(TShiftState shift, int x, int y) = 0;
    virtual void HostMouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
    // delta > 0 is wheel up (away from the user); one notch is 120.
    virtual void HostMouseWheel(int delta, TShiftState shift, int x, int y) = 0;
    virtual void HostMouseLeave() = 0;
    virtual void HostResized(int width, int height) = 0;
    // The host widget is going away (e.g. its parent window was destroyed).
    virtual void HostDestroyed() = 0;
};

class ControlHostHandle {
public:
    virtual ~ControlHostHandle() = default;
    virtual QWidget* Widget() = 0;
    // Stops forwarding to the client (called when the client goes first).
    virtual void DetachClient() = 0;
    virtual void SetBounds(int left, int top, int width, int height) = 0;
    virtual TRect Bounds() const = 0;
    // Queues one paint; several requests before it runs give one paint.
    virtual void RequestRepaint() = 0;
    // Paints at once, without the message queue (off screen when hidden).
    virtual void RepaintNow() = 0;
    // Paints handled so far (each ran the client's HostPaint once).
    virtual int PaintCount() const = 0;
    virtual void SetCursorShape(TCursor cursor) = 0;
    virtual TCursor CursorShape() const = 0;
    // Paints the client into an image of the control's size and returns it
    // as PNG bytes (empty when they cannot be encoded).
    virtual std::string PaintToPngBytes() = 0;
};

// Creates the host widget as a child of parent (top-level and hidden when
// parent is null). Qt's parent owns it; a client that outlives the parent is
// told through HostDestroyed, and a client that goes first calls
// DetachClient and deletes the widget through DestroyControlHost.
ControlHostHandle* CreateControlHost(QWidget* parent, ControlHostClient* client);
void DestroyControlHost(ControlHostHandle* host);

#include "platform/ControlHost.h"

#include "platform/PngBytes.h"
#include "platform/QtDrawContext.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

TShiftState ShiftFrom(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

bool ButtonFrom(Qt::MouseButton b, TMouseButton& out) {
    switch (b) {
    case Qt::LeftButton:
        out = mbLeft;
        return true;
    case Qt::RightButton:
        out = mbRight;
        return true;
    case Qt::MiddleButton:
        out = mbMiddle;
        return true;
    default:
        return false;
    }
}

Qt::CursorShape QtCursor(TCursor c) {
    switch (c) {
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

ControlHost::ControlHost(QWidget* parent, ControlHostClient* client)
    : QWidget(parent), Client_(client) {
    // The client paints every pixel itself: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // Focus by click only: a chart is no stop in the form's tab order.
    setFocusPolicy(Qt::ClickFocus);
}

ControlHost::~ControlHost() {
    if (Client_)
        Client_->HostDestroyed();
}

void ControlHost::DetachClient() {
    Client_ = nullptr;
}

void ControlHost::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
}

TRect ControlHost::Bounds() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void ControlHost::RequestRepaint() {
    update();
}

void ControlHost::RepaintNow() {
    if (isVisible())
        repaint();
    else
        PaintIntoImage();
}

void ControlHost::SetCursorShape(TCursor cursor) {
    Cursor_ = cursor;
    setCursor(QtCursor(cursor));
}

void ControlHost::PaintIntoImage() {
    const int w = std::max(1, width());
    const int h = std::max(1, height());
    // The client draws in logical pixels; on a scaled screen the picture has
    // the screen's pixels, so text and shapes come out sharp.
    const qreal dpr = devicePixelRatioF();
    const int iw = static_cast<int>(std::ceil(w * dpr));
    const int ih = static_cast<int>(std::ceil(h * dpr));
    if (!Context_ || Image_.width() != iw || Image_.height() != ih ||
        Image_.devicePixelRatio() != dpr) {
        // The client's canvas remembers the context it last painted to, so
        // it stays the same object while the size does.
        Context_.reset();
        Image_ = QImage(iw, ih, QImage::Format_RGB32);
        Image_.setDevicePixelRatio(dpr);
        Image_.fill(Qt::white);
        Context_ = std::make_unique<QtDrawContext>(&Image_);
    }
    if (!Client_)
        return;
    ++PaintCount_;
    Client_->HostPaint(*Context_, {0, 0, w, h});
}

std::string ControlHost::PaintToPngBytes() {
    PaintIntoImage();
    return PngBytes(Image_);
}

void ControlHost::paintEvent(QPaintEvent*) {
    PaintIntoImage();
    QPainter painter(this);
    painter.drawImage(0, 0, Image_);
}

void ControlHost::mousePressEvent(QMouseEvent* event) {
    TMouseButton b;
    if (!Client_ || !ButtonFrom(event->button(), b))
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    Client_->HostMouseDown(b, ShiftFrom(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ControlHost::mouseMoveEvent(QMouseEvent* event) {
    if (!Client_)
        return;
    const QPoint p = event->position().toPoint();
    Client_->HostMouseMove(ShiftFrom(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ControlHost::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton b;
    if (!Client_ || !ButtonFrom(event->button(), b))
        return;
    const QPoint p = event->position().toPoint();
    Client_->HostMouseUp(b, ShiftFrom(event->modifiers(), event->buttons()), p.x(), p.y());
}

void ControlHost::wheelEvent(QWheelEvent* event) {
    if (!Client_)
        return;
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    const QPoint p = event->position().toPoint();
    Client_->HostMouseWheel(delta, ShiftFrom(event->modifiers(), event->buttons()), p.x(), p.y());
    event->accept();
}

void ControlHost::leaveEvent(QEvent*) {
    if (Client_)
        Client_->HostMouseLeave();
}

void ControlHost::resizeEvent(QResizeEvent* event) {
    if (Client_)
        Client_->HostResized(event->size().width(), event->size().height());
}

ControlHostHandle* CreateControlHost(QWidget* parent, ControlHostClient* client) {
    auto* host = new ControlHost(parent, client);
    // A child shows with its window; a top-level host stays hidden.
    if (parent)
        host->show();
    return host;
}

void DestroyControlHost(ControlHostHandle* host) {
    if (!host)
        return;
    host->DetachClient();
    delete static_cast<ControlHost*>(host);
}

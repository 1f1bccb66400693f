#pragma once
// The Qt widget behind ControlHostHandle.

#include "platform/ControlHostClient.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QtDrawContext;

class ControlHost : public QWidget, public ControlHostHandle {
public:
    ControlHost(QWidget* parent, ControlHostClient* client);
    ~ControlHost() override;

    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    QWidget* Widget() override { return this; }
    void DetachClient() override;
    void SetBounds(int left, int top, int width, int height) override;
    TRect Bounds() const override;
    void RequestRepaint() override;
    void RepaintNow() override;
    int PaintCount() const override { return PaintCount_; }
    void SetCursorShape(TCursor cursor) override;
    TCursor CursorShape() const override { return Cursor_; }
    std::string PaintToPngBytes() override;

    // The last picture the client drew.
    const QImage& Image() const { return Image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintIntoImage();

    ControlHostClient* Client_;
    QImage Image_;
    std::unique_ptr<QtDrawContext> Context_;
    TCursor Cursor_ = crDefault;
    int PaintCount_ = 0;
};

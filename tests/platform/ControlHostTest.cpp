#include "platform/ControlHost.h"

#include "common/PngFile.h"
#include "platform/DrawContext.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the host hands over and paints a fixed colour.
class FakeClient : public ControlHostClient {
public:
    std::vector<std::string> Log;
    int Paints = 0;
    bool Destroyed = false;
    TRect LastRect{};

    void HostPaint(DrawContext& target, const TRect& clientRect) override {
        ++Paints;
        LastRect = clientRect;
        target.SetBrush(TBrushDesc{clRed, bsSolid, nullptr});
        target.FillRect(clientRect);
    }
    void HostMouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Add("down", b, s, x, y);
    }
    void HostMouseMove(TShiftState s, int x, int y) override { Add("move", -1, s, x, y); }
    void HostMouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        Add("up", b, s, x, y);
    }
    void HostMouseWheel(int delta, TShiftState, int, int) override {
        Log.push_back("wheel " + std::to_string(delta));
    }
    void HostMouseLeave() override { Log.push_back("leave"); }
    void HostResized(int w, int h) override {
        Log.push_back("size " + std::to_string(w) + "x" + std::to_string(h));
    }
    void HostDestroyed() override { Destroyed = true; }

private:
    void Add(const char* what, int button, TShiftState shift, int x, int y) {
        Log.push_back(std::string(what) + " " + std::to_string(button) + " " +
                      std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

} // namespace

TEST(ControlHost, RepaintRequestsCoalesceIntoOnePaint) {
    FakeClient client; // outlives the window, which tells it of the host's end
    QWidget window;
    window.resize(300, 200);
    ControlHostHandle* host = CreateControlHost(&window, &client);
    host->SetBounds(10, 20, 120, 80);
    window.show();
    QApplication::processEvents();
    const int first = client.Paints;
    EXPECT_GE(first, 1);
    for (int i = 0; i < 5; ++i)
        host->RequestRepaint();
    QApplication::processEvents();
    EXPECT_EQ(client.Paints, first + 1);
    EXPECT_EQ(client.LastRect, (TRect{0, 0, 120, 80}));
    EXPECT_EQ(host->Bounds(), (TRect{10, 20, 130, 100}));
    host->RepaintNow();
    EXPECT_EQ(client.Paints, first + 2) << "synchronous paint";
    const QImage& image = static_cast<ControlHost*>(host)->Image();
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(255, 0, 0));
}

TEST(ControlHost, MouseAndWheelReachTheClient) {
    FakeClient client;
    ControlHostHandle* host = CreateControlHost(nullptr, &client);
    host->SetBounds(0, 0, 100, 100);
    QWidget* w = host->Widget();
    client.Log.clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 12), QPointF(10, 12), Qt::RightButton,
                      Qt::RightButton, Qt::ShiftModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(15, 17), QPointF(15, 17), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 22), QPointF(20, 22),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    const std::vector<std::string> expected = {
        "down 1 " + std::to_string(ssShift | ssRight) + " 10,12",
        "move -1 " + std::to_string(ssRight) + " 15,17",
        "up 1 0 20,22",
        "wheel -120",
    };
    ASSERT_GE(client.Log.size(), expected.size());
    std::vector<std::string> got;
    for (const std::string& line : client.Log)
        if (line.rfind("size", 0) != 0)
            got.push_back(line);
    EXPECT_EQ(got, expected);
    host->SetCursorShape(crHandPoint);
    EXPECT_EQ(host->CursorShape(), crHandPoint);
    EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
    DestroyControlHost(host);
    EXPECT_FALSE(client.Destroyed) << "a detached client is not called back";
}

TEST(ControlHost, ClientLearnsWhenTheWindowDestroysTheHost) {
    FakeClient client;
    auto* window = new QWidget;
    CreateControlHost(window, &client);
    delete window;
    EXPECT_TRUE(client.Destroyed);
}

TEST(ControlHost, PaintToPngWritesTheClientPicture) {
    FakeClient client;
    ControlHostHandle* host = CreateControlHost(nullptr, &client);
    host->SetBounds(0, 0, 64, 32);
    const std::string path = std::string(YONATAMA_TEST_OUT) + "/control_host.png";
    ASSERT_TRUE(WritePngFile(path, host->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    EXPECT_EQ(image.size(), QSize(64, 32));
    EXPECT_EQ(QColor(image.pixel(63, 31)), QColor(255, 0, 0));
    DestroyControlHost(host);
}

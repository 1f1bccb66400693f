#include "platform/TTimer.h"

#include "platform/TApplication.h"

#include <QTimer>

TTimer::TTimer(int intervalMs) : Timer_(std::make_unique<QTimer>()) {
    Timer_->setInterval(intervalMs);
    QObject::connect(Timer_.get(), &QTimer::timeout, [this] { RunGuarded(OnTimer); });
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled) {
    if (enabled)
        Timer_->start();
    else
        Timer_->stop();
}

bool TTimer::Enabled() const {
    return Timer_->isActive();
}
int TTimer::Interval() const {
    return Timer_->interval();
}

#include "platform/TTimer.h"

#include "platform/TApplication.h"

#include <QTimer>

TTimer::TTimer(int intervalMs) : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(intervalMs);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { RunGuarded(OnTimer); });
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled) {
    if (enabled)
        timer_->start();
    else
        timer_->stop();
}

bool TTimer::Enabled() const {
    return timer_->isActive();
}
int TTimer::Interval() const {
    return timer_->interval();
}

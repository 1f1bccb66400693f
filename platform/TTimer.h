#pragma once
// A repeating timer whose handler runs from the message loop.

#include <functional>
#include <memory>

class QTimer;

class TTimer {
public:
    explicit TTimer(int intervalMs);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    int Interval() const;

    std::function<void()> OnTimer;

private:
    std::unique_ptr<QTimer> Timer_;
};

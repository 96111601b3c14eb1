// A one-shot timer that falls due at a moment of the steady clock rather than
// after a count of milliseconds, so that a run of steps keeps to its plan
// however late each callback ran. It uses the system's microsecond timers
// where there are any, and a precise Qt timer (to the millisecond) elsewhere.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace corvane {

class DeadlineTimer {
public:
    using Moment = std::chrono::steady_clock::time_point;

    // onDue runs from the event loop of the thread that owns the timer.
    explicit DeadlineTimer(std::function<void()> onDue);
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;
    DeadlineTimer(DeadlineTimer&&) = delete;
    DeadlineTimer& operator=(DeadlineTimer&&) = delete;

    // Calls onDue once, not before `at` (at the next turn of the event loop
    // when `at` has passed); replaces a moment set before.
    void StartAt(Moment at);
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace corvane

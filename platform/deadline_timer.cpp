#include "deadline_timer.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>

#include <QTimer>

#if defined(__linux__)
#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace corvane {
namespace {

// A precise Qt timer: it waits whole milliseconds, rounded up to the moment.
class MillisecondTimer {
public:
    explicit MillisecondTimer(std::function<void()> onDue) : onDue_(std::move(onDue)) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { onDue_(); });
    }
    void StartAt(DeadlineTimer::Moment at) {
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(at - std::chrono::steady_clock::now());
        timer_.start(std::max(wait, std::chrono::milliseconds(0)));
    }
    void Stop() { timer_.stop(); }
    void Due() const { onDue_(); }

private:
    std::function<void()> onDue_;
    QTimer timer_;
};

} // namespace

#if defined(__linux__)

// A timerfd on the monotonic clock (the steady clock's own) set to an absolute
// moment: the kernel wakes the event loop within microseconds of it.
struct DeadlineTimer::Impl {
    explicit Impl(std::function<void()> onDue)
        : fd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)),
          fallback(std::move(onDue)) {
        if (fd < 0) {
            return;
        }
        notifier.emplace(fd, QSocketNotifier::Read);
        QObject::connect(&*notifier, &QSocketNotifier::activated, &*notifier, [this] {
            // Nothing to read when the moment was stopped or replaced meanwhile.
            std::uint64_t nExpired = 0;
            if (read(fd, &nExpired, sizeof nExpired) == sizeof nExpired && nExpired > 0) {
                fallback.Due();
            }
        });
    }
    ~Impl() {
        notifier.reset();
        if (fd >= 0) {
            close(fd);
        }
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    Impl(Impl&&) = delete;
    Impl& operator=(Impl&&) = delete;

    void StartAt(Moment at) {
        if (fd < 0) {
            fallback.StartAt(at);
            return;
        }
        // A zero moment would disarm the timer; the clock's first nanosecond is long past.
        const long long nNs = std::max<long long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count(), 1);
        itimerspec spec{};
        spec.it_value.tv_sec = static_cast<time_t>(nNs / 1'000'000'000);
        spec.it_value.tv_nsec = static_cast<long>(nNs % 1'000'000'000);
        timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr);
    }
    void Stop() {
        if (fd >= 0) {
            const itimerspec off{};
            timerfd_settime(fd, TFD_TIMER_ABSTIME, &off, nullptr);
        }
        fallback.Stop();
    }

    int fd;
    MillisecondTimer fallback;
    std::optional<QSocketNotifier> notifier;
};

#else

struct DeadlineTimer::Impl : MillisecondTimer {
    using MillisecondTimer::MillisecondTimer;
};

#endif

DeadlineTimer::DeadlineTimer(std::function<void()> onDue)
    : impl_(std::make_unique<Impl>(std::move(onDue))) {}

DeadlineTimer::~DeadlineTimer() = default;

void DeadlineTimer::StartAt(Moment at) {
    impl_->StartAt(at);
}

void DeadlineTimer::Stop() {
    impl_->Stop();
}

} // namespace corvane

// The deadline timer against the steady clock it is set by.
#include "platform/deadline_timer.hpp"

#include <QtTest>

namespace corvane {

using Clock = std::chrono::steady_clock;

class DeadlineTimerTest : public QObject {
    Q_OBJECT
private slots:
    void fallsDueOnceNotBeforeItsMoment() {
        int nDue = 0;
        Clock::time_point dueAt;
        DeadlineTimer timer([&] {
            ++nDue;
            dueAt = Clock::now();
        });
        const Clock::time_point at = Clock::now() + std::chrono::microseconds(2500);
        timer.StartAt(at);
        QTRY_COMPARE(nDue, 1);
        QVERIFY(dueAt >= at);
        // A moment replaced, and then stopped, never falls due.
        timer.StartAt(Clock::now());
        timer.StartAt(Clock::now() + std::chrono::milliseconds(3));
        timer.Stop();
        QTest::qWait(10);
        QCOMPARE(nDue, 1);
        // The clock's very first moment is long past: due at once.
        timer.StartAt(Clock::time_point{});
        QTRY_COMPARE(nDue, 2);
    }
};

} // namespace corvane

QTEST_GUILESS_MAIN(corvane::DeadlineTimerTest)
#include "deadline_timer_test.moc"

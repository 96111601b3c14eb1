// Runs the coach's search for the hint on a worker thread, so the window never
// waits for it, and hands the advice back on the window's thread. A new search
// or Cancel drops the one before; the destructor waits for the worker to stop.
#pragma once

#include "coach/coach.hpp"

#include <atomic>
#include <thread>

#include <QObject>

namespace corvane {

class CoachHint final : public QObject {
    Q_OBJECT
public:
    explicit CoachHint(QObject* pParent = nullptr);
    ~CoachHint() override;
    CoachHint(const CoachHint&) = delete;
    CoachHint& operator=(const CoachHint&) = delete;
    CoachHint(CoachHint&&) = delete;
    CoachHint& operator=(CoachHint&&) = delete;

    void Start(const coach::Position& pos, const coach::SearchBudget& budget);
    // Stops the search under way; its advice never arrives.
    void Cancel();
    bool IsRunning() const { return bRunning_; }

signals:
    void Ready(const corvane::coach::Advice& advice);
    // From the worker: the advice of search nSearch.
    void Finished(int nSearch, const corvane::coach::Advice& advice);

private:
    void OnFinished(int nSearch, const coach::Advice& advice);

    std::thread worker_;
    std::atomic<bool> bCancel_{false};
    int nSearch_ = 0;
    bool bRunning_ = false;
};

} // namespace corvane

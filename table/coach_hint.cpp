// The hint's worker thread.
#include "table/coach_hint.hpp"

namespace corvane {

CoachHint::CoachHint(QObject* pParent) : QObject(pParent) {
    // Emitted on the worker, delivered on the window's thread.
    connect(this, &CoachHint::Finished, this, &CoachHint::OnFinished, Qt::QueuedConnection);
}

CoachHint::~CoachHint() {
    Cancel();
}

void CoachHint::Start(const coach::Position& pos, const coach::SearchBudget& budget) {
    Cancel();
    bRunning_ = true;
    const int nSearch = nSearch_;
    worker_ = std::thread([this, pos, budget, nSearch] {
        emit Finished(nSearch, coach::Advise(pos, budget, &bCancel_));
    });
}

void CoachHint::OnFinished(int nSearch, const coach::Advice& advice) {
    // A later search or Cancel has moved nSearch_ on: this advice is out of date.
    if (nSearch == nSearch_ && !advice.bCancelled) {
        bRunning_ = false;
        emit Ready(advice);
    }
}

void CoachHint::Cancel() {
    bCancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    bCancel_ = false;
    ++nSearch_;
    bRunning_ = false;
}

} // namespace corvane

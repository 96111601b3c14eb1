// The hint's worker thread.
#include "table/coach_hint.hpp"

#include <QMetaObject>

namespace corvane {

CoachHint::~CoachHint() {
    Cancel();
}

void CoachHint::Start(const coach::Position& pos, const coach::SearchBudget& budget) {
    Cancel();
    bRunning_ = true;
    const int nSearch = nSearch_;
    worker_ = std::thread([this, pos, budget, nSearch] {
        coach::Advice advice = coach::Advise(pos, budget, &bCancel_);
        // Queued to this object: it runs on the window's thread, and not at all
        // once a later search or Cancel has moved nSearch_ on.
        QMetaObject::invokeMethod(
            this,
            [this, nSearch, advice = std::move(advice)] {
                if (nSearch == nSearch_ && !advice.bCancelled) {
                    bRunning_ = false;
                    emit Ready(advice);
                }
            },
            Qt::QueuedConnection);
    });
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

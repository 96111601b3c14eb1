// The practice hand: each hand's deal is kept as it starts; the last one to
// finish can be played again from the same cards, funds and opponents'
// generator. The practice plays through the engine's own hand, which books
// nothing while it runs, and the game it interrupted is put back whole.
#include "cards.hpp"
#include "game.hpp"

#include <memory>
#include <utility>

namespace corvane {

void Game::TakeDealSnapshot() {
    // Assigned member by member so that a run of hands reuses the snapshot's storage.
    if (!deal_) {
        deal_ = std::make_unique<DealSnapshot>();
    }
    deal_->Start = state_;
    deal_->lSeed = g_.lSeed;
    deal_->nUserResult = 0;
}

void Game::KeepFinishedDeal() {
    // The next hand's snapshot overwrites the older deal before deal_ is read again.
    std::swap(lastDeal_, deal_);
    if (lastDeal_) {
        lastDeal_->nUserResult = state_.nFunds[kUserSeat] - lastDeal_->Start.nFunds[kUserSeat];
    }
}

void Game::RestoreDeal() {
    state_ = lastDeal_->Start;
    g_.lSeed = lastDeal_->lSeed;
}

bool Game::CanReplayLastDeal() const {
    const GameState& s = state_;
    if (!lastDeal_ || !deal_ || practice_ || !s.bUserTurn || s.bHandOver) {
        return false;
    }
    // Between hands as the player sees them: the new hand is dealt, and the
    // user has neither laid a card of it nor paid the pot.
    return s.nCardsLeft[kUserSeat] == kCardsInHand &&
           s.nFunds[kUserSeat] == deal_->Start.nFunds[kUserSeat] - kAnte;
}

void Game::ReplayLastDeal() {
    if (CanReplayLastDeal()) {
        BeginPractice(PracticeResume::UserTurn);
    }
}

void Game::BeginPractice(PracticeResume resume) {
    if (!lastDeal_) {
        return;
    }
    state_.UserTag = DialogAnswer::None;
    practice_ = PracticeReturn{state_, g_.lSeed, g_.sWinnerName, g_.sPotWon, resume};
    table_.SetPracticeCaption(lastDeal_->Start.nLevel, lastDeal_->Start.nHand);
    StartGame(false);
}

void Game::FinishPractice() {
    const int nThisTime = state_.nFunds[kUserSeat] - lastDeal_->Start.nFunds[kUserSeat];
    program_.ShowPracticeResult(nThisTime, lastDeal_->nUserResult);
    EndPractice();
}

void Game::LeavePractice() {
    if (practice_ && state_.bUserTurn && !state_.bHandOver) {
        EndPractice();
    }
}

PracticeResume Game::RestoreFromPractice() {
    PracticeReturn back = std::move(*practice_);
    practice_.reset();
    state_ = std::move(back.State);
    g_.lSeed = back.lSeed;
    g_.sWinnerName = std::move(back.sWinnerName);
    g_.sPotWon = std::move(back.sPotWon);
    return back.resume;
}

void Game::EndPractice() {
    const PracticeResume resume = RestoreFromPractice();
    ShowWholeTable();
    switch (resume) {
    case PracticeResume::UserTurn:
        break;
    case PracticeResume::NextHand:
        StartGame(false);
        break;
    case PracticeResume::GameOverAnswers:
        AskGameOverAnswers();
        break;
    }
}

void Game::DropPractice() {
    if (practice_) {
        RestoreFromPractice();
        table_.SetCaption(state_.nLevel, state_.nHand);
    }
}

void Game::ShowWholeTable() {
    const GameState& s = state_;
    ClearTable();
    DrawCardsPlayed();
    // A hand that has laid its last card keeps a stale element, which is not shown.
    if (s.nCardsLeft[kUserSeat] > 0) {
        DrawUserHand();
    }
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        const bool bMoving = nSeat == kUserSeat && s.bUserTurn && !s.bHandOver;
        ShowFunds(nSeat);
        if (ShowsPlay()) {
            table_.SetCardsLeft(nSeat, s.nCardsLeft[nSeat]);
            table_.SetLastCard(nSeat, s.nLastCard[nSeat]);
        }
        SetPlayerFill(nSeat, bMoving ? kMarkerMoving : kMarkerWaiting);
    }
    ShowPot();
    table_.SetCaption(s.nLevel, s.nHand);
}

} // namespace corvane

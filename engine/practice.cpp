// The practice hand: each hand's deal is kept as it starts; the last one to
// finish can be played again from the same cards, funds and opponents'
// generator. The practice plays through the engine's own hand, which books
// nothing while it runs, and the game it interrupted is put back whole.
#include "cards.hpp"
#include "game.hpp"

#include <utility>

namespace corvane {

void Game::TakeDealSnapshot() {
    // Assigned member by member so that a run of hands reuses the snapshot's storage.
    if (!m_deal) {
        m_deal.emplace();
    }
    m_deal->Start = m_state;
    m_deal->lSeed = m_g.lSeed;
    m_deal->nUserResult = 0;
}

void Game::KeepFinishedDeal() {
    m_lastDeal = m_deal;
    if (m_lastDeal) {
        m_lastDeal->nUserResult = m_state.nFunds[kUserSeat] - m_lastDeal->Start.nFunds[kUserSeat];
    }
}

void Game::RestoreDeal() {
    m_state = m_lastDeal->Start;
    m_g.lSeed = m_lastDeal->lSeed;
}

bool Game::CanReplayLastDeal() const {
    const GameState& s = m_state;
    if (!m_lastDeal || !m_deal || m_practice || !s.bUserTurn || s.bHandOver) {
        return false;
    }
    // Between hands as the player sees them: the new hand is dealt, and the
    // user has neither laid a card of it nor paid the pot.
    return s.nCardsLeft[kUserSeat] == kCardsInHand &&
           s.nFunds[kUserSeat] == m_deal->Start.nFunds[kUserSeat] - kAnte;
}

void Game::ReplayLastDeal() {
    if (CanReplayLastDeal()) {
        BeginPractice(PracticeResume::UserTurn);
    }
}

void Game::BeginPractice(PracticeResume resume) {
    if (!m_lastDeal) {
        return;
    }
    m_state.UserTag = DialogAnswer::None;
    m_practice = PracticeReturn{m_state, m_g.lSeed, m_g.sWinnerName, m_g.sPotWon, resume};
    m_table.SetPracticeCaption(m_lastDeal->Start.nLevel, m_lastDeal->Start.nHand);
    StartGame(false);
}

void Game::FinishPractice() {
    const int nThisTime = m_state.nFunds[kUserSeat] - m_lastDeal->Start.nFunds[kUserSeat];
    m_program.ShowPracticeResult(nThisTime, m_lastDeal->nUserResult);
    EndPractice();
}

void Game::LeavePractice() {
    if (m_practice && m_state.bUserTurn && !m_state.bHandOver) {
        EndPractice();
    }
}

PracticeResume Game::RestoreFromPractice() {
    PracticeReturn back = std::move(*m_practice);
    m_practice.reset();
    m_state = std::move(back.State);
    m_g.lSeed = back.lSeed;
    m_g.sWinnerName = std::move(back.sWinnerName);
    m_g.sPotWon = std::move(back.sPotWon);
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
    if (m_practice) {
        RestoreFromPractice();
        m_table.SetCaption(m_state.nLevel, m_state.nHand);
    }
}

void Game::ShowWholeTable() {
    const GameState& s = m_state;
    ClearTable();
    DrawCardsPlayed();
    // A hand that has laid its last card keeps a stale element, which is not shown.
    if (s.nCardsLeft[kUserSeat] > 0) {
        DrawUserHand();
    }
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        const bool bMoving = nSeat == kUserSeat && s.bUserTurn && !s.bHandOver;
        ShowFunds(nSeat);
        m_table.SetCardsLeft(nSeat, s.nCardsLeft[nSeat]);
        m_table.SetLastCard(nSeat, s.nLastCard[nSeat]);
        SetPlayerFill(nSeat, bMoving ? kMarkerMoving : kMarkerWaiting);
    }
    ShowPot();
    m_table.SetCaption(s.nLevel, s.nHand);
}

} // namespace corvane

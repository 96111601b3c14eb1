// The coach: plays every choice of the advised seat out over many deals of the
// cards it cannot see, recommends the one that most often leaves the seat on top
// of the final standings (the most dollars on average where that is even), and
// says why from the same figures.
#pragma once

#include "coach/position.hpp"

#include <atomic>
#include <string>
#include <vector>

namespace corvane::coach {

struct ChoiceOutcome {
    int nChoice = kPayThePot;
    double dDollars = 0.0;    // average change of the seat's funds by the end of the hand
    double dOthersPaid = 0.0; // average pot payments by the other seats
    double dWinRate = 0.0;    // share of deals in which the seat goes out first
    // Average chance of heading the final standings from the funds the hand ends
    // with: certain once the game is over, estimated while hands remain.
    double dStanding = 0.0;
};

struct Advice {
    // The recommended card or kPayThePot; nothing to advise when Outcomes is empty.
    int nChoice = kPayThePot;
    // Every choice, best first; only the first is filled when the choice is forced.
    std::vector<ChoiceOutcome> Outcomes;
    int nDeals = 0; // deals the recommended choice was played out on
    bool bCancelled = false;
    std::string sText;
};

struct SearchBudget {
    // Deals sampled at most; every choice still in the race is played out on each.
    int nDeals = 2048;
    // The chance left to a card that another seat's strategy would not have laid
    // from the hand a deal gives it.
    double dSurprise = 0.05;
    // Swaps tried before the first deal and between deals.
    int nBurnIn = 60;
    int nStepsPerDeal = 4;
};

// Searches the position; stops early, with what it has, once *pCancel is set.
Advice Advise(const Position& pos, const SearchBudget& budget,
              const std::atomic<bool>* pCancel = nullptr);

// The explanation of an advice for its position (Advise fills sText with it).
std::string Explain(const Position& pos, const Advice& advice);

// "8♥", "10♣", "K♠".
std::string ShortCardName(int nCard);
// "+$12", "-$4", "$0".
std::string SignedDollars(double dDollars);

} // namespace corvane::coach
